// A host that guards each instance of the built VST2 module with a lock of its
// own, as many hosts do: it holds the lock around every call into the plug-in,
// takes it again for every call the plug-in makes to it, and calls the plug-in
// back from inside those (the program and the parameter after automation, the
// program and its name after a display update). Its GUI threads open editor
// windows, click them through the X server and close them again with the lock
// still held, idling the windows or not, while a state thread switches
// programs and loads the bank. A plug-in that calls the host from a thread the
// host may be waiting for deadlocks here; a watchdog turns that into a failure.
// Needs a display: the suite runs it under tools/with-display.sh.

#include "Vst2TestHost.h"
#include "Vst2HostWindow.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <mutex>
#include <numeric>
#include <set>

namespace
{
using namespace Vst2TestHost;

constexpr int chorusType = 1;
constexpr int numInstances = 3;
constexpr int numRounds = 2;
constexpr int stuckExitCode = 3;

// Bounds on waiting for the plug-in, generous for sanitizer trees on a busy machine.
constexpr std::chrono::seconds patience { 15 };

// The host's calls beside the dispatcher's opcodes, and its own work between calls.
constexpr int getParameterCall = -2, setParameterCall = -3, noCall = -1;

bool isNotification (int opcode)
{
    return opcode == hostAutomate || opcode == hostBeginEdit || opcode == hostEndEdit
        || opcode == hostUpdateDisplay || opcode == hostIoChanged;
}

/** What went wrong, from any thread, for the child's error output. */
class Findings
{
public:
    void add (const std::string& what)
    {
        const std::lock_guard<std::mutex> held (lock);
        text += what + "\n";
    }

    std::string all()
    {
        const std::lock_guard<std::mutex> held (lock);
        return text;
    }

private:
    std::mutex lock;
    std::string text;
};

/** Ends the process with stuckExitCode, saying where, once the host has
    taken no step for a minute: a deadlock never ends by itself. */
class Watchdog
{
public:
    explicit Watchdog (Findings& f) : findings (f), thread ([this] { watch(); }) {}

    ~Watchdog()
    {
        {
            const std::lock_guard<std::mutex> held (lock);
            done = true;
        }

        woken.notify_all();
        thread.join();
    }

    /** Names the step the host takes next. */
    void at (const std::string& step)
    {
        {
            const std::lock_guard<std::mutex> held (lock);
            lastStep = step;
            ++steps;
        }

        woken.notify_all();
    }

private:
    void watch()
    {
        std::unique_lock<std::mutex> held (lock);

        for (;;)
        {
            const auto stepsBefore = steps;

            if (! woken.wait_for (held, std::chrono::seconds (60), [&] { return done || steps != stepsBefore; }))
                break;

            if (done)
                return;
        }

        std::cerr << "the host is stuck after: " << lastStep << "\n" << findings.all() << std::flush;
        std::_Exit (stuckExitCode);
    }

    Findings& findings;
    std::mutex lock;
    std::condition_variable woken;
    std::string lastStep = "start";
    long steps = 0;
    bool done = false;
    std::thread thread;
};

//==============================================================================
/** One instance as a locking host keeps it. */
class LockedInstance
{
public:
    struct Heard
    {
        int opcode, index;
        float value;
    };

    explicit LockedInstance (Findings& f) : findings (f)
    {
        const auto entry = loadEntry ("VSTPluginMain");
        effect = entry != nullptr ? entry (callback) : nullptr;

        if (effect == nullptr)
            return;

        const Guard guard (*this, effectOpen);
        effect->user = this;
        {
            const std::lock_guard<std::mutex> held (liveLock());
            live().insert (effect);
        }
        dispatch (effectOpen);
        dispatch (effectSetSampleRate, 0, 0, nullptr, sampleRate);
        dispatch (effectSetBlockSize, 0, blockSize);
        dispatch (effectSuspendResume, 0, 1);
    }

    ~LockedInstance()
    {
        if (effect == nullptr)
            return;

        const Guard guard (*this, effectClose);
        dispatch (effectSuspendResume, 0, 0);
        effect->dispatcher (effect, effectClose, 0, 0, nullptr, 0.0f);
        const std::lock_guard<std::mutex> held (liveLock());
        live().erase (effect);
    }

    LockedInstance (const LockedInstance&) = delete;
    LockedInstance& operator= (const LockedInstance&) = delete;

    long long dispatch (int opcode, int index = 0, long long value = 0, void* ptr = nullptr, float opt = 0.0f)
    {
        const Guard guard (*this, opcode);
        return effect->dispatcher (effect, opcode, index, value, ptr, opt);
    }

    float getParameter (int index)
    {
        const Guard guard (*this, getParameterCall);
        return effect->getParameter (effect, index);
    }

    void setParameter (int index, float value)
    {
        const Guard guard (*this, setParameterCall);
        effect->setParameter (effect, index, value);
    }

    /** Does work with the lock held throughout, as a host's own work between
        its calls into the instance. */
    template <typename Work>
    void whileLocked (Work&& work)
    {
        const Guard guard (*this, noCall);
        work();
    }

    /** The display updates the plug-in has begun to ask for, counted before
        the host takes its lock for them. */
    int displayUpdatesBegun() const  { return displayUpdates.load(); }

    std::vector<Heard> heard()
    {
        const Guard guard (*this, noCall);
        return heardCalls;
    }

    AEffect* effect = nullptr;

private:
    /** The host's lock, held around a call into the plug-in (opcode) or the
        host's own work (noCall), with who holds it and which call is the
        innermost one. */
    class Guard
    {
    public:
        Guard (LockedInstance& i, int opcode) : instance (i), held (i.lock), outerCall (i.innermostCall)
        {
            if (opcode != noCall)
                instance.innermostCall = opcode;

            if (instance.depth++ == 0)
                instance.owner = std::this_thread::get_id();
        }

        ~Guard()
        {
            instance.innermostCall = outerCall;

            if (--instance.depth == 0)
                instance.owner = std::thread::id();
        }

    private:
        LockedInstance& instance;
        std::lock_guard<std::recursive_mutex> held;
        const int outerCall;
    };

    static std::mutex& liveLock()       { static std::mutex m; return m; }
    static std::set<AEffect*>& live()   { static std::set<AEffect*> s; return s; }

    static long long callback (AEffect* effect, int32_t opcode, int32_t index, long long value, void* ptr, float opt)
    {
        LockedInstance* instance = nullptr;

        if (effect != nullptr)
        {
            const std::lock_guard<std::mutex> held (liveLock());

            if (live().count (effect) != 0)
                instance = static_cast<LockedInstance*> (effect->user);
        }

        // The host's version question comes before there is an instance.
        if (instance == nullptr)
            return effect == nullptr ? hostCallback (effect, opcode, index, value, ptr, opt) : 0;

        return instance->answer (opcode, index, opt);
    }

    long long answer (int opcode, int index, float opt)
    {
        // Only the owner reads innermostCall here, under the lock it holds.
        const bool insideCall = owner.load() == std::this_thread::get_id() && innermostCall != noCall;

        if (isNotification (opcode))
        {
            if (opcode == hostUpdateDisplay)
                ++displayUpdates;

            if (! insideCall)
                findings.add ("host opcode " + std::to_string (opcode) + " came from outside the host's calls");
        }

        const Guard guard (*this, noCall);

        if (isNotification (opcode))
            heardCalls.push_back ({ opcode, index, opt });

        switch (opcode)
        {
            case hostAutomate:
                getParameter (index);
                dispatch (effectGetProgram);
                return 0;
            case hostUpdateDisplay:
            {
                char name[64];
                dispatch (effectGetProgram);
                dispatch (effectGetProgramName, 0, 0, name);
                return 1;
            }
            case hostGetTime:        return (long long) (intptr_t) &timeInfo;
            case hostGetSampleRate:  return (long long) sampleRate;
            case hostGetBlockSize:   return blockSize;
            default:                 return 0;
        }
    }

    Findings& findings;
    std::recursive_mutex lock;
    std::atomic<std::thread::id> owner;
    int depth = 0, innermostCall = noCall;  // under the lock
    std::vector<Heard> heardCalls;    // under the lock
    std::atomic<int> displayUpdates { 0 };
    HostTimeInfo timeInfo {};
};

//==============================================================================
/** How the host runs its windows. */
struct HostKind
{
    const char* name;
    bool guiThreadPerWindow;
    int idledWindows;  // the first ones get idle calls, the others none
};

void PrintTo (const HostKind& kind, std::ostream* out)
{
    *out << kind.name;
}

const HostKind hostKinds[] = {
    { "OneGuiThreadIdlingEveryWindow", false, numInstances },
    { "OneGuiThreadWithoutIdle", false, 0 },
    { "AGuiThreadPerWindowEachIdling", true, numInstances },
    { "AGuiThreadPerWindowOneIdling", true, 1 },
};

/** The one pointer of the X server, shared by every GUI thread's clicks. */
std::mutex pointer;

bool clickInto (const HostWindow& window, Point point)
{
    const std::lock_guard<std::mutex> held (pointer);
    return window.click (point);
}

/** One window of one instance on one of the host's GUI threads. */
struct WindowRun
{
    LockedInstance& plugin;
    const HostWindow& window;
    bool idles;
    Findings& findings;
    Watchdog& watchdog;
    std::string name;

    void idle()
    {
        if (idles)
            plugin.dispatch (effectEditorIdle);
    }

    void open()
    {
        watchdog.at (name + ": opening");

        if (plugin.dispatch (effectEditorOpen, 0, 0, window.handle()) != 1 || ! window.hasChildren (1))
            findings.add (name + ": the window did not open");

        window.grabPainted ([this] { idle(); });
    }

    /** Clicks a point of the window until the click has had its effect; on a
        busy machine a click is now and then lost on its way, and a user
        clicks again, up to three times here. */
    template <typename Effect>
    bool clickUntil (Point point, Effect&& hadEffect)
    {
        for (int click = 0; click < 3; ++click)
        {
            watchdog.at (name + ": clicking");
            clickInto (window, point);

            if (waitUntil (hadEffect, patience))
                return true;
        }

        return false;
    }

    /** Clicks a chorus type into the window and waits, idling, until the
        plug-in has it. Where only this window's idle calls can handle the
        click, the type must change inside one of them. */
    void clickType (Point point, float type)
    {
        plugin.setParameter (chorusType, 0.0f);
        float afterIdle = 0.0f;

        const bool set = clickUntil (point, [&]
        {
            if (clickHandledInIdle && plugin.getParameter (chorusType) != afterIdle)
                findings.add (name + ": the click was handled outside the host's idle calls");

            idle();
            afterIdle = plugin.getParameter (chorusType);
            return afterIdle == type;
        });

        if (! set)
            findings.add (name + ": the click set no chorus type");
    }

    /** Clicks the copy button, which makes the plug-in update the host's
        display, and waits until it tries to, calling in as hosts do. */
    void clickCopy()
    {
        const int before = plugin.displayUpdatesBegun();

        const bool told = clickUntil (copyButton, [&]
        {
            idle();
            plugin.dispatch (effectGetProgram);
            return plugin.displayUpdatesBegun() > before;
        });

        if (! told)
            findings.add (name + ": no display update after the copy button");
    }

    /** Clicks, then closes the window without letting go of the lock. */
    void clickAndClose (int round)
    {
        const float type = round % 2 == 0 ? 0.5f : 1.0f;
        const auto heardBefore = plugin.heard().size();

        plugin.whileLocked ([&] {
            clickType (round % 2 == 0 ? secondTypeName : thirdTypeName, type);
            clickCopy();
            watchdog.at (name + ": closing right after the clicks");
            plugin.dispatch (effectEditorClose);
        });

        if (! window.hasChildren (0))
            findings.add (name + ": the window stayed");

        checkHeard (heardBefore, type);
    }

    /** The host heard the click's chorus type, by the time the window closed. */
    void checkHeard (size_t from, float type)
    {
        const auto heard = plugin.heard();
        const auto click = std::find_if (heard.begin() + (long) from, heard.end(), [type] (const auto& h) {
            return h.opcode == hostAutomate && h.index == chorusType && h.value == type;
        });

        if (click == heard.end())
            findings.add (name + ": the host never heard the click's chorus type");
    }

    bool clickHandledInIdle;
};

/** Switches programs, saves and loads the bank and plays a block, each under
    the lock, round the instances until told to stop. */
void changeStates (std::vector<std::unique_ptr<LockedInstance>>& plugins, const std::atomic<bool>& stop)
{
    std::vector<float> left (blockSize), right (blockSize);
    float* channels[] = { left.data(), right.data() };

    for (int round = 0; ! stop; ++round)
    {
        auto& plugin = *plugins[(size_t) round % plugins.size()];

        plugin.whileLocked ([&] {
            plugin.dispatch (effectSetProgram, 0, round % 12);
            void* data = nullptr;
            const auto size = plugin.dispatch (effectGetChunk, 0, 0, &data);
            const std::vector<char> bank ((char*) data, (char*) data + std::max (0LL, size));
            plugin.dispatch (effectSetChunk, 0, (long long) bank.size(), (void*) bank.data());
            plugin.effect->processReplacing (plugin.effect, channels, channels, blockSize);
        });

        std::this_thread::sleep_for (std::chrono::milliseconds (5));
    }
}

/** The GUI thread's windows, round after round: all opened, then each
    clicked and closed. */
void runGuiThread (Display* display, const HostKind& kind, std::vector<std::unique_ptr<LockedInstance>>& plugins,
                   const std::vector<int>& instances, Findings& findings, Watchdog& watchdog)
{
    std::vector<std::unique_ptr<HostWindow>> windows;

    for (int i : instances)
        windows.push_back (std::make_unique<HostWindow> (display, editorWidth, editorHeight, 40 + 400 * i));

    for (int round = 0; round < numRounds; ++round)
    {
        std::vector<WindowRun> runs;

        for (size_t w = 0; w < windows.size(); ++w)
        {
            const int i = instances[w];
            const bool idles = i < kind.idledWindows;
            runs.push_back ({ *plugins[(size_t) i], *windows[w], idles, findings, watchdog,
                              std::string (kind.name) + " window " + std::to_string (i) + " round " + std::to_string (round),
                              idles && ! kind.guiThreadPerWindow });
        }

        for (auto& run : runs)
            run.open();

        for (auto& run : runs)
            run.clickAndClose (round);
    }
}

void runHostAndExit (const HostKind& kind)
{
    Findings findings;

    {
        Watchdog watchdog (findings);
        std::vector<std::unique_ptr<LockedInstance>> plugins;

        for (int i = 0; i < numInstances; ++i)
            plugins.push_back (std::make_unique<LockedInstance> (findings));

        if (std::any_of (plugins.begin(), plugins.end(), [] (const auto& p) { return p->effect == nullptr; }))
        {
            std::cerr << "no effect: " << dlerror() << "\n";
            std::exit (2);
        }

        std::atomic<bool> stop { false };
        std::thread states ([&] { changeStates (plugins, stop); });
        std::vector<std::thread> guiThreads;
        std::vector<Display*> displays;

        const auto startGuiThread = [&] (std::vector<int> instances)
        {
            displays.push_back (XOpenDisplay (nullptr));
            guiThreads.emplace_back ([&, display = displays.back(), instances] {
                runGuiThread (display, kind, plugins, instances, findings, watchdog);
            });
        };

        std::vector<int> everyInstance (numInstances);
        std::iota (everyInstance.begin(), everyInstance.end(), 0);

        if (kind.guiThreadPerWindow)
            for (int i : everyInstance)
                startGuiThread ({ i });
        else
            startGuiThread (everyInstance);

        for (auto& t : guiThreads)
            t.join();

        stop = true;
        states.join();
        watchdog.at ("closing the instances");
        plugins.clear();

        for (auto* display : displays)
            XCloseDisplay (display);
    }

    const auto found = findings.all();
    std::cerr << found;
    std::exit (found.empty() ? 0 : 1);
}

class Vst2LockingHost : public ::testing::TestWithParam<HostKind> {};

TEST_P (Vst2LockingHost, ClosesWindowsRightAfterClicksWithoutDeadlock)
{
    Display* display = XOpenDisplay (nullptr);

    if (display == nullptr)
        GTEST_SKIP() << "no X display (run under tools/with-display.sh)";

    XCloseDisplay (display);
    GTEST_FLAG_SET (death_test_style, "threadsafe");
    EXPECT_EXIT (runHostAndExit (GetParam()), testing::ExitedWithCode (0), "");
}

INSTANTIATE_TEST_SUITE_P (Hosts, Vst2LockingHost, ::testing::ValuesIn (hostKinds),
                          [] (const auto& test) { return std::string (test.param.name); });
}
