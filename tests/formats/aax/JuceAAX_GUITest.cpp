// The plug-in's GUI object opening the editor inside a host's native window and
// deleting it again. Needs a display: run under tools/with-display.sh.
#include "JuceAaxFixture.h"

#include "JuceAAX_GUI.h"
#include "ModulixQR7150AudioProcessorEditor.h"
#include "XWindowTree.h"

namespace
{
/** A processor that offers no editor (the plug-in's own has one). */
class ProcessorWithoutEditor final : public ModulixQR7150AudioProcessor
{
public:
    juce::AudioProcessorEditor* createEditor() override  { return nullptr; }
    bool hasEditor() const override  { return false; }
};

/** The host's window that the plug-in's view goes into. The plug-in runs
    JUCE's message thread, so the test, like any thread but that one, builds
    and removes its window with the message manager locked. */
class HostWindow final : public juce::Component
{
public:
    HostWindow()
    {
        const juce::MessageManagerLock lock;
        setSize (400, 500);
        addToDesktop (juce::ComponentPeer::windowIsTemporary);
        setVisible (true);
    }

    ~HostWindow() override
    {
        const juce::MessageManagerLock lock;
        removeFromDesktop();
    }

    /** The X window of a component on the desktop, or 0. */
    static unsigned long windowOf (juce::Component& component)
    {
        const juce::MessageManagerLock lock;
        return reinterpret_cast<unsigned long> (component.getWindowHandle());
    }

    /** Whether the component's X window has become a child of this window; the
        X server learns of it once JUCE's requests reach it (a hang guard only). */
    bool holds (juce::Component& component)
    {
        for (int attempt = 0; attempt < 2000; ++attempt)
        {
            if (XWindowTree::parentOf (windowOf (component)) == windowOf (*this))
                return true;

            juce::Thread::sleep (10);
        }

        return false;
    }
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

TEST_F (JuceAaxGUITest, ASecondContainerTakesTheViewOutOfTheFirstWindow)
{
    AaxInstance plugin (host, true);
    open (plugin);

    HostWindow first, second;
    auto& firstContainer = host.newViewContainer();
    auto& secondContainer = host.newViewContainer();
    firstContainer.nativeView = first.getWindowHandle();
    secondContainer.nativeView = second.getWindowHandle();

    gui->SetViewContainer (&firstContainer);
    auto* content = gui->getContentComponent();
    ASSERT_NE (content, nullptr);
    EXPECT_TRUE (first.holds (*content));

    // No clear in between: the view moves, and the host may now destroy the first window.
    gui->SetViewContainer (&secondContainer);
    ASSERT_EQ (gui->getContentComponent(), content);
    EXPECT_TRUE (second.holds (*content));

    gui->SetViewContainer (nullptr);
    close();
}

TEST_F (JuceAaxGUITest, ASecondGUIObjectOnTheSameInstanceLeavesTheEditorToTheFirst)
{
    AaxInstance plugin (host, true);
    open (plugin);
    auto* editor = plugin.processor().getActiveEditor();
    ASSERT_NE (editor, nullptr);

    auto* other = new JuceAAX_GUI();
    other->AddRef();
    ASSERT_EQ (other->Initialize (&plugin.instance), AAX_SUCCESS);
    EXPECT_EQ (other->getContentComponent(), nullptr);
    AAX_Point size;
    EXPECT_EQ (other->GetViewSize (&size), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ (plugin.processor().getActiveEditor(), editor);

    other->Uninitialize();
    other->Release();
    EXPECT_EQ (plugin.processor().getActiveEditor(), editor) << "the first GUI object still shows it";
    EXPECT_EQ (viewSize (AAX_SUCCESS).horz, 325.0f);
    close();
    EXPECT_EQ (plugin.processor().getActiveEditor(), nullptr);
}
