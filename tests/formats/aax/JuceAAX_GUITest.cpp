// The plug-in's GUI object opening the editor inside a host's native window and
// deleting it again. Needs a display: run under tools/with-display.sh.
#include "JuceAaxFixture.h"

#include "JuceAAX_GUI.h"
#include "ModulixQR7150AudioProcessorEditor.h"

namespace
{
/** A processor that offers no editor (the plug-in's own has one). */
class ProcessorWithoutEditor final : public ModulixQR7150AudioProcessor
{
public:
    juce::AudioProcessorEditor* createEditor() override  { return nullptr; }
    bool hasEditor() const override  { return false; }
};

/** The host's window that the plug-in's view goes into. */
class HostWindow final : public juce::Component
{
public:
    HostWindow()
    {
        setSize (400, 500);
        addToDesktop (juce::ComponentPeer::windowIsTemporary);
        setVisible (true);
    }

    ~HostWindow() override  { removeFromDesktop(); }
};

class JuceAaxGUITest : public FakeHostFixture
{
protected:
    void open (AaxInstance& plugin)
    {
        gui->AddRef();
        ASSERT_EQ (gui->Initialize (&plugin.instance), AAX_SUCCESS);
    }

    void close()
    {
        gui->Uninitialize();
        gui->Release();
    }

    AAX_Point viewSize (AAX_Result expected)
    {
        AAX_Point size;
        EXPECT_EQ (gui->GetViewSize (&size), expected);
        return size;
    }

    JuceAAX_GUI* gui = new JuceAAX_GUI();
};
}

TEST_F (JuceAaxGUITest, TheEditorOpensInTheHostsWindowAndIsDeletedWithIt)
{
    AaxInstance plugin (host, true);
    open (plugin);
    ASSERT_NE (dynamic_cast<ModulixQR7150AudioProcessorEditor*> (plugin.processor().getActiveEditor()), nullptr)
        << "the plug-in's own editor exists before a container";

    const auto size = viewSize (AAX_SUCCESS);
    EXPECT_EQ (size.horz, 325.0f);
    EXPECT_EQ (size.vert, 454.0f);

    HostWindow window;
    auto& container = host.newViewContainer();
    container.nativeView = window.getWindowHandle();
    ASSERT_NE (container.nativeView, nullptr);

    gui->SetViewContainer (&container);
    auto* content = gui->getContentComponent();
    ASSERT_NE (content, nullptr);
    EXPECT_TRUE (content->isOnDesktop());
    EXPECT_TRUE (content->isVisible());
    EXPECT_TRUE (content->isParentOf (plugin.processor().getActiveEditor()));

    gui->SetViewContainer (nullptr);
    EXPECT_EQ (gui->getContentComponent(), nullptr);
    EXPECT_EQ (plugin.processor().getActiveEditor(), nullptr) << "the editor was deleted";
    viewSize (AAX_ERROR_NULL_OBJECT);

    // The host may show the view again: a new editor is built for it.
    gui->SetViewContainer (&container);
    EXPECT_NE (plugin.processor().getActiveEditor(), nullptr);
    EXPECT_EQ (viewSize (AAX_SUCCESS).horz, 325.0f);
    close();
    EXPECT_EQ (plugin.processor().getActiveEditor(), nullptr) << "closing deletes an editor still shown";
}

TEST_F (JuceAaxGUITest, AContainerWithoutANativeViewShowsNothing)
{
    AaxInstance plugin (host, true);
    open (plugin);

    auto& container = host.newViewContainer();
    gui->SetViewContainer (&container);
    ASSERT_NE (gui->getContentComponent(), nullptr);
    EXPECT_FALSE (gui->getContentComponent()->isOnDesktop());
    gui->SetViewContainer (nullptr);
    close();
}

TEST_F (JuceAaxGUITest, AProcessorWithoutAnEditorLeavesNoView)
{
    AaxInstance plugin (host, true, std::make_unique<ProcessorWithoutEditor>());
    open (plugin);

    HostWindow window;
    auto& container = host.newViewContainer();
    container.nativeView = window.getWindowHandle();
    gui->SetViewContainer (&container);

    EXPECT_EQ (gui->getContentComponent(), nullptr);
    viewSize (AAX_ERROR_NULL_OBJECT);
    gui->SetViewContainer (nullptr);
    close();
}
