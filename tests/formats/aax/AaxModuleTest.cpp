// The built AAX module, loaded with dlopen and driven through its exported
// entry functions by the fake AAX host: what it exports, and how it registers
// the effect, as the host's collection records it.
#include "FakeHostFixture.h"

#include "AAX_CString.h"
#include "AAX_IEffectGUI.h"
#include "AAX_IEffectParameters.h"
#include "JuceAAX_Procedures.h"

#include <dlfcn.h>
#include <elf.h>
#include <link.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <thread>
#include <vector>

namespace
{
using RegisterPlugin = ACFRESULT (*) (IACFUnknown*, IACFPluginDefinition**);
using RegisterComponent = ACFRESULT (*) (IACFUnknown*, uint32_t, IACFComponentDefinition**);
using GetClassFactory = ACFRESULT (*) (IACFUnknown*, const acfCLSID&, const acfIID&, void**);
using HostCall = ACFRESULT (*) (IACFUnknown*);
using GetSDKVersion = ACFRESULT (*) (uint64_t*);

constexpr const char* entryNames[] { "ACFRegisterPlugin", "ACFRegisterComponent", "ACFGetClassFactory",
                                     "ACFCanUnloadNow", "ACFStartup", "ACFShutdown", "ACFGetSDKVersion" };

/** The module, loaded once for all tests and unloaded after the last. */
class AaxModuleTest : public FakeHostFixture
{
protected:
    static void SetUpTestSuite()
    {
        module = dlopen (MODULIX_AAX_MODULE, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE (module, nullptr) << dlerror();
    }

    static void TearDownTestSuite()
    {
        EXPECT_EQ (dlclose (module), 0) << dlerror();
        module = nullptr;
    }

    void SetUp() override
    {
        ASSERT_NE (module, nullptr);
    }

    template <class Function>
    static Function entry (const char* name)
    {
        return reinterpret_cast<Function> (dlsym (module, name));
    }

    /** Starts, registers and shuts down as a host does when it scans the module. */
    ACFRESULT scan()
    {
        EXPECT_EQ (entry<HostCall> ("ACFStartup") (host.root()), ACF_OK);
        IACFPluginDefinition* definition = nullptr;
        const auto result = entry<RegisterPlugin> ("ACFRegisterPlugin") (host.root(), &definition);
        definitionReturned = definition;

        if (definition != nullptr)
            definition->Release();

        EXPECT_EQ (entry<HostCall> ("ACFShutdown") (host.root()), ACF_OK);
        return result;
    }

    /** The calls to one fake, without its interface queries. */
    std::vector<std::string> describingCalls (const std::string& fake) const
    {
        auto calls = host.callsStartingWith (fake + ".");
        calls.erase (std::remove_if (calls.begin(), calls.end(),
                                     [] (const std::string& call) { return call.find (".QueryInterface(") != std::string::npos; }),
                     calls.end());
        return calls;
    }

    /** The creation procedure that registration handed over under id. */
    template <class Object>
    static auto procedure (const FakeEffectDescriptor& effect, AAX_CProcPtrID id)
    {
        for (const auto& [procedureID, address] : effect.procedures)
            if (procedureID == id)
                return reinterpret_cast<Object (*)()> (address);

        return static_cast<Object (*)()> (nullptr);
    }

    /** The offset in the module of a function of its own whose name holds name,
        read from the module file's symbol table; 0 when there is none. */
    static ElfW (Addr) localFunction (const std::string& name)
    {
        std::ifstream file (MODULIX_AAX_MODULE, std::ios::binary);
        const std::vector<char> bytes ((std::istreambuf_iterator<char> (file)), std::istreambuf_iterator<char>());
        const auto read = [&bytes] (auto& into, size_t offset) { std::memcpy (&into, bytes.data() + offset, sizeof (into)); };

        ElfW (Ehdr) header;
        read (header, 0);

        const auto section = [&] (size_t index)
        {
            ElfW (Shdr) found;
            read (found, header.e_shoff + index * header.e_shentsize);
            return found;
        };

        for (size_t i = 0; i < header.e_shnum; ++i)
        {
            const auto symbols = section (i);

            if (symbols.sh_type != SHT_SYMTAB)
                continue;

            const auto names = section (symbols.sh_link);

            for (size_t offset = 0; offset + sizeof (ElfW (Sym)) <= symbols.sh_size; offset += sizeof (ElfW (Sym)))
            {
                ElfW (Sym) symbol;
                read (symbol, symbols.sh_offset + offset);
                const std::string symbolName (bytes.data() + names.sh_offset + symbol.st_name);

                // A routine of the module's own is local and carries its file's mangling.
                if (ELF64_ST_TYPE (symbol.st_info) == STT_FUNC && symbolName.find (name) != std::string::npos)
                    return symbol.st_value;
            }
        }

        return 0;
    }

    /** The addresses of the routines the loader runs as the loaded module is unloaded. */
    static std::vector<ElfW (Addr)> terminationRoutines (const link_map& loaded)
    {
        ElfW (Addr) array = 0, size = 0;

        for (const auto* entry = loaded.l_ld; entry->d_tag != DT_NULL; ++entry)
        {
            if (entry->d_tag == DT_FINI_ARRAY)
                array = entry->d_un.d_ptr;
            else if (entry->d_tag == DT_FINI_ARRAYSZ)
                size = entry->d_un.d_val;
        }

        const auto* first = reinterpret_cast<const ElfW (Addr)*> (loaded.l_addr + array);
        return std::vector<ElfW (Addr)> (first, first + size / sizeof (ElfW (Addr)));
    }

    static void* module;
    IACFPluginDefinition* definitionReturned = nullptr;
};

void* AaxModuleTest::module = nullptr;

TEST_F (AaxModuleTest, ExportsTheSevenEntryFunctionsAndNothingElse)
{
    for (const auto* name : entryNames)
        EXPECT_NE (dlsym (module, name), nullptr) << name;

    for (const auto* hidden : { "AAXRegisterPlugin", "GetEffectDescriptions", "createPluginFilter", "_ZN11CACFUnknown14m_ActiveObjectsE" })
        EXPECT_EQ (dlsym (module, hidden), nullptr) << hidden;
}

TEST_F (AaxModuleTest, FixedAnswers)
{
    uint64_t version = 0;
    EXPECT_EQ (entry<GetSDKVersion> ("ACFGetSDKVersion") (&version), ACF_OK);
    EXPECT_EQ (version, 0x0000020200B45B38ull);

    void* factory = &version;
    EXPECT_EQ (entry<GetClassFactory> ("ACFGetClassFactory") (host.root(), IID_IACFUnknown, IID_IACFUnknown, &factory),
               AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ (factory, nullptr);

    IACFComponentDefinition* component = reinterpret_cast<IACFComponentDefinition*> (&version);
    EXPECT_EQ (entry<RegisterComponent> ("ACFRegisterComponent") (host.root(), 0, &component), ACF_OK);
    EXPECT_EQ (component, nullptr);

    // Without a place for the answer the results stay the same.
    EXPECT_EQ (entry<GetClassFactory> ("ACFGetClassFactory") (host.root(), IID_IACFUnknown, IID_IACFUnknown, nullptr),
               AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ (entry<RegisterComponent> ("ACFRegisterComponent") (host.root(), 0, nullptr), ACF_OK);
}

TEST_F (AaxModuleTest, TheLoaderRunsTheModulesTerminationRoutine)
{
    const auto routine = localFunction ("module_term_routine");
    ASSERT_NE (routine, 0u) << "the module keeps its termination routine";

    link_map* loaded = nullptr;
    ASSERT_EQ (dlinfo (module, RTLD_DI_LINKMAP, &loaded), 0);
    const auto routines = terminationRoutines (*loaded);
    EXPECT_NE (std::find (routines.begin(), routines.end(), loaded->l_addr + routine), routines.end())
        << "the loader runs it as the module is unloaded";
}

TEST_F (AaxModuleTest, ScansWhileInstancesComeAndGoOnOtherThreads)
{
    ASSERT_EQ (scan(), ACF_OK);
    const auto& effect = *host.all<FakeCollection>().at (0)->effects.at (0).second;
    const auto createParameters = procedure<AAX_IEffectParameters*> (effect, kAAX_ProcPtrID_Create_EffectParameters);
    const auto createGUI = procedure<AAX_IEffectGUI*> (effect, kAAX_ProcPtrID_Create_EffectGUI);
    constexpr int rounds = 20;
    std::atomic<int> failures { 0 };

    const auto scanning = [&]
    {
        for (int i = 0; i < rounds; ++i)
        {
            IACFPluginDefinition* definition = nullptr;

            if (entry<RegisterPlugin> ("ACFRegisterPlugin") (host.root(), &definition) != ACF_OK)
                ++failures;

            if (definition != nullptr)
                definition->Release();
        }
    };

    const auto comingAndGoing = [&]
    {
        for (int i = 0; i < rounds; ++i)
        {
            IACFUnknown* objects[] { createParameters(), createGUI() };

            for (auto* object : objects)
            {
                if (object == nullptr)
                    ++failures;
                else
                    object->AddRef();
            }

            for (auto* object : objects)
                if (object != nullptr)
                    object->Release();
        }
    };

    std::thread threads[] { std::thread (scanning), std::thread (comingAndGoing), std::thread (comingAndGoing) };

    for (auto& thread : threads)
        thread.join();

    EXPECT_EQ (failures.load(), 0);
    EXPECT_EQ (entry<HostCall> ("ACFCanUnloadNow") (host.root()), 0);
}

TEST_F (AaxModuleTest, RegistersOneEffectInTheHostCollection)
{
    ASSERT_EQ (scan(), ACF_OK);

    const auto collections = host.all<FakeCollection>();
    ASSERT_EQ (collections.size(), 1u);
    EXPECT_EQ (definitionReturned, &collections[0]->definition);

    EXPECT_EQ (describingCalls ("collection1"), (std::vector<std::string> {
        "collection1.AddEffect(com.velora.ModulixQR7150, effect1)",
        "collection1.SetManufacturerName(Velora)",
        "collection1.AddPackageName(QR7150)",
        "collection1.AddPackageName(Modulix QR7150)",
        "collection1.SetPackageVersion(65537)" }));

    EXPECT_EQ (describingCalls ("effect1"), (std::vector<std::string> {
        "effect1.AddName(QR7150)",
        "effect1.AddName(Modulix QR7150)",
        "effect1.AddCategory(32)",
        "effect1.AddProcPtr(ptr, 1)",
        "effect1.AddProcPtr(ptr, 0)",
        "effect1.AddComponent(component1)",
        "effect1.AddComponent(component2)",
        "effect1.AddComponent(component3)" }));

    const auto* effect = collections[0]->effects.at (0).second;
    ASSERT_NE (effect, nullptr);
    ASSERT_EQ (effect->procedures.size(), 2u);
    EXPECT_NE (effect->procedures[0].second, effect->procedures[1].second);
}

struct ComponentCase
{
    AAX_EStemFormat input;
    AAX_EStemFormat output;
};

TEST_F (AaxModuleTest, DescribesOneComponentPerSupportedLayout)
{
    ASSERT_EQ (scan(), ACF_OK);

    const auto* effect = host.all<FakeCollection>().at (0)->effects.at (0).second;
    const ComponentCase layouts[] { { AAX_eStemFormat_Mono, AAX_eStemFormat_Mono },
                                    { AAX_eStemFormat_Mono, AAX_eStemFormat_Stereo },
                                    { AAX_eStemFormat_Stereo, AAX_eStemFormat_Stereo } };
    ASSERT_EQ (effect->components.size(), std::size (layouts));

    std::set<AAX_CPropertyValue> nativeIDs, audioSuiteIDs;

    for (size_t i = 0; i < std::size (layouts); ++i)
    {
        const auto* component = effect->components[i];
        ASSERT_NE (component, nullptr);
        ASSERT_NE (component->processProcProperties, nullptr);
        const auto mapName = component->processProcProperties->name();

        EXPECT_EQ (component->calls, (std::vector<std::string> {
            "AddAudioIn(0)",
            "AddAudioOut(1)",
            "AddAudioBufferLength(2)",
            "AddDataInPort(3, 4, 1)",
            "AddPrivateData(4, 8, 0)",
            "AddPrivateData(5, 4, 0)",
            "AddProcessProc_Native(ptr, " + mapName + ", null, null, null)" }));

        std::vector<std::string> propertiesAdded;

        for (const auto& call : describingCalls (mapName))
            propertiesAdded.push_back (call.substr (0, call.find (',')));

        EXPECT_EQ (propertiesAdded, (std::vector<std::string> {
            mapName + ".AddProperty(11", mapName + ".AddProperty(12", mapName + ".AddProperty(60",
            mapName + ".AddProperty(51", mapName + ".AddProperty(52", mapName + ".AddProperty(13",
            mapName + ".AddProperty(14", mapName + ".AddProperty(304" }));

        const auto& properties = component->processProcProperties->properties;
        EXPECT_EQ (properties.at (11), 0x564C525F);    // 'VLR_'
        EXPECT_EQ (properties.at (12), 0x56717237);    // 'Vqr7'
        EXPECT_EQ (properties.at (60), 1);
        EXPECT_EQ (properties.at (51), layouts[i].input);
        EXPECT_EQ (properties.at (52), layouts[i].output);
        EXPECT_EQ (properties.at (304), 1);
        nativeIDs.insert (properties.at (13));
        audioSuiteIDs.insert (properties.at (14));
    }

    EXPECT_EQ (nativeIDs.size(), std::size (layouts));
    EXPECT_EQ (audioSuiteIDs.size(), std::size (layouts));
}

TEST_F (AaxModuleTest, RegistrationLeavesNoObjectAlive)
{
    ASSERT_EQ (scan(), ACF_OK);
    EXPECT_EQ (entry<HostCall> ("ACFCanUnloadNow") (host.root()), 0);
}

TEST_F (AaxModuleTest, AHostWithoutAFactoryOrDefinitionGetsANullObject)
{
    host.refuse (IID_IACFComponentFactory);
    EXPECT_EQ (scan(), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ (definitionReturned, nullptr);

    FakeHost second;
    second.refuse (IID_IACFPluginDefinition);
    IACFPluginDefinition* definition = nullptr;
    EXPECT_EQ (entry<RegisterPlugin> ("ACFRegisterPlugin") (second.root(), &definition), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ (definition, nullptr);
    EXPECT_EQ (second.outstandingReferences(), 0) << second.outstandingReport();
    EXPECT_EQ (second.all<FakeCollection>().at (0)->effects.size(), 1u);
}

/** The objects a host creates for one insert, through the registered procedures. */
struct InsertObjects
{
    InsertObjects (FakeHost& host, const FakeEffectDescriptor& effect)
        : instance (host.newInstanceHost())
    {
        for (const auto& [id, procedure] : effect.procedures)
        {
            // The objects are the module's; the host uses only their interfaces.
            if (id == kAAX_ProcPtrID_Create_EffectParameters)
                parameters = reinterpret_cast<AAX_IEffectParameters* (*)()> (procedure)();
            else if (id == kAAX_ProcPtrID_Create_EffectGUI)
                gui = reinterpret_cast<AAX_IEffectGUI* (*)()> (procedure)();
        }

        // The host holds a reference to each object it created.
        for (IACFUnknown* object : { static_cast<IACFUnknown*> (parameters), static_cast<IACFUnknown*> (gui) })
            if (object != nullptr)
                object->AddRef();
    }

    AAX_IACFEffectParameters_V3& data() const  { return *parameters; }

    /** A chunk as the host saves it. */
    std::vector<uint8_t> save (AAX_CTypeID id) const
    {
        uint32_t size = 0;
        EXPECT_EQ (data().GetChunkSize (id, &size), AAX_SUCCESS);
        std::vector<uint8_t> bytes (AAX_SPlugInChunkHeaderSize + size);
        EXPECT_EQ (data().GetChunk (id, static_cast<AAX_SPlugInChunk*> (static_cast<void*> (bytes.data()))), AAX_SUCCESS);
        return bytes;
    }

    AAX_Result restore (AAX_CTypeID id, std::vector<uint8_t> bytes)
    {
        return data().SetChunk (id, static_cast<AAX_SPlugInChunk*> (static_cast<void*> (bytes.data())));
    }

    double value (const char* id) const
    {
        double out = -1.0;
        data().GetParameterNormalizedValue (id, &out);
        return out;
    }

    FakeInstanceHost& instance;
    AAX_IACFEffectParameters_V3* parameters = nullptr;
    AAX_IACFEffectGUI* gui = nullptr;
};

TEST_F (AaxModuleTest, AnInsertPlaysAutomatesAndRecallsItsState)
{
    ASSERT_EQ (scan(), ACF_OK);
    const auto& effect = *host.all<FakeCollection>().at (0)->effects.at (0).second;
    const auto processProc = effect.components.back()->processProc;

    InsertObjects first (host, effect);
    ASSERT_NE (first.parameters, nullptr);
    ASSERT_NE (first.gui, nullptr);
    first.instance.effectParameters = first.parameters;
    ASSERT_EQ (first.data().Initialize (&first.instance), AAX_SUCCESS);
    ASSERT_EQ (first.gui->Initialize (&first.instance), AAX_SUCCESS);

    int32_t count = 0;
    first.data().GetNumberOfParameters (&count);
    EXPECT_EQ (count, 10);

    // Automation: stored on the host's answer.
    first.data().SetParameterNormalizedValue ("4", 0.75);
    EXPECT_EQ (first.value ("4"), static_cast<double> (0.2f));
    EXPECT_EQ (first.instance.pump(), 1);
    EXPECT_EQ (first.value ("4"), 0.75);

    // Audio through the registered callback, with the bypass packet the host took.
    first.data().GenerateCoefficients();
    ASSERT_EQ (first.instance.controller.packets.size(), 1u);
    int32_t bypass = 0, prepared = 0, frames = 256;
    void* pluginInstance = nullptr;
    first.data().ResetFieldData (JuceAAX::pluginInstance, &pluginInstance, sizeof (pluginInstance));
    first.data().ResetFieldData (JuceAAX::preparedFlag, &prepared, sizeof (prepared));
    std::memcpy (&bypass, first.instance.controller.packets[0].bytes.data(), sizeof (bypass));

    std::vector<float> left (256, 0.25f), right (256, -0.25f);
    const float* inputs[] { left.data(), right.data() };
    float* outputs[] { left.data(), right.data() };
    const JuceAAX::AlgorithmContext context { inputs, outputs, &frames, &bypass,
                                              reinterpret_cast<JuceAAX_Processor* const*> (&pluginInstance), &prepared,
                                              nullptr };
    void* const instances[] { const_cast<JuceAAX::AlgorithmContext*> (&context) };
    processProc (instances, instances + 1);
    EXPECT_NE (left, std::vector<float> (256, 0.25f));

    // The state into a second insert: 'juce', then 'elck'.
    const auto state = first.save (AAX_MakeTypeID ('j', 'u', 'c', 'e'));
    const auto controls = first.save (AAX_MakeTypeID ('e', 'l', 'c', 'k'));

    InsertObjects second (host, effect);
    second.instance.effectParameters = second.parameters;
    ASSERT_EQ (second.data().Initialize (&second.instance), AAX_SUCCESS);
    EXPECT_EQ (second.restore (AAX_MakeTypeID ('j', 'u', 'c', 'e'), state), AAX_SUCCESS);
    second.instance.pump();
    EXPECT_EQ (second.restore (AAX_MakeTypeID ('e', 'l', 'c', 'k'), controls), AAX_SUCCESS);
    second.instance.pump();
    EXPECT_EQ (second.value ("4"), 0.75);

    // The view has the plug-in's editor's fixed size.
    AAX_Point size;
    EXPECT_EQ (first.gui->GetViewSize (&size), AAX_SUCCESS);
    EXPECT_EQ (size.horz, 325.0f);
    EXPECT_EQ (size.vert, 454.0f);

    first.gui->Uninitialize();
    first.gui->Release();
    second.gui->Release();
    for (auto* insert : { &first, &second })
    {
        insert->data().Uninitialize();
        insert->parameters->Release();
    }

    EXPECT_EQ (entry<HostCall> ("ACFCanUnloadNow") (host.root()), 0);
}
}
