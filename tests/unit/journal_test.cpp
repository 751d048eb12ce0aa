// Runs that a kill or a failed step stops at any point, finished by the next run of any kind through the journal
// and the staging folders; the run lock around the work.
#include "environment/journal.h"
#include "tests/unit/environment_trees.h"

namespace {

using Journal = CoreTest;
const wchar_t kJournal[] = L"64\\SOFTWARE\\Quorvane";
const Lines kStandaloneRecord = {L"EclipseRootFolder", L"C:\\eclipse", L"SDKRootFolder", L"C:\\sdk"};

// A run as the program makes it: the run lock taken and the journal finished first.
enum class RunKind { SilentInstall, Uninstall, Integrate, IntegrateElsewhere };

bool run(RunKind kind) {
    if (kind == RunKind::SilentInstall || kind == RunKind::Uninstall) {
        runProgram(nullptr, kind == RunKind::Uninstall ? L"-uninstall" : L"-install -silence");
        return true;
    }
    platform::RunLock lock;
    return takeRunLock(lock, nullptr) &&
           (kind == RunKind::Integrate
                ? integrateStandalone()
                : integrateEnvironment(EnvironmentKind::AdtBundle, kAdt, StepOrder::PluginsFirst, nullptr));
}

// The standalone environment's targets alone.
Tree targets(const Tree& nodes) {
    Tree only;
    for (const auto& [key, node] : nodes)
        if (key.rfind(L"c:\\eclipse\\", 0) == 0 || key.rfind(L"c:\\sdk\\", 0) == 0 || key.rfind(L"c:\\outside", 0) == 0)
            only[key] = node;
    return only;
}

bool nothingInFlight() {
    for (const auto& [key, node] : fake::state().nodes)
        if (key.find(L"\\.quorvane") != std::wstring::npos) return false;
    return !fake::state().registry.count(L"64\\software\\quorvane");
}

// The killed run passed its commit point: its journal entry said so in a second write.
bool committed() {
    const Lines& log = fake::state().log;
    return std::count(log.begin(), log.end(), L"set Run 1") == 2;
}

// A silent install, a dialog Integrate or an uninstall of the standalone environment, stopped at its k-th change of
// the disk as if killed, or with that change failing; then a run of every kind, for the environment recorded and
// not: the environment ends as the payload or exactly as it was, spelling included, and nothing of the runs is left.
TEST_F(Journal, EveryStopAndFailureIsFinishedByTheNextRunOfAnyKind) {
    for (const bool stop : {true, false})
        for (const RunKind killed : {RunKind::SilentInstall, RunKind::Integrate, RunKind::Uninstall})
            for (const bool recorded : {true, false})
                for (const RunKind next :
                     {RunKind::SilentInstall, RunKind::Uninstall, RunKind::Integrate, RunKind::IntegrateElsewhere})
                    for (int k = 1;; ++k) {
                        if (killed != RunKind::Integrate && !recorded) break;
                        SetUp();
                        seedOlderEntries();
                        seedRecord(recorded ? kStandaloneRecord : Lines{L"ADTRootFolder", L"C:\\adt"});
                        if (killed == RunKind::Uninstall) run(RunKind::SilentInstall);
                        fake::state().changes = 0;
                        const Tree before = targets(tree()), payload = targets(payloadNamedReplaced(tree(), true)),
                                   without = targets(payloadNamedReplaced(tree(), false));
                        (stop ? fake::state().stopAt : fake::state().failAt) = k;
                        bool ended = true, reported = false;
                        try {
                            reported = run(killed) && killed == RunKind::Integrate;
                        } catch (const fake::Stopped&) { ended = false; }
                        const bool changedNothing = fake::state().changes < k, forward = committed();
                        const auto trace = ::testing::Message() << stop << int(killed) << recorded << int(next) << k;
                        // A run that says it integrated did, whole.
                        EXPECT_TRUE(!reported || (targets(tree()) == payload && nothingInFlight())) << trace;
                        fake::state().stopAt = fake::state().failAt = 0;
                        const bool again = run(next);
                        EXPECT_TRUE(again && nothingInFlight()) << trace;
                        const bool acts =
                            next == RunKind::Integrate || (recorded && next != RunKind::IntegrateElsewhere);
                        const Tree& wanted =
                            acts ? (next == RunKind::Uninstall ? without : payload) : (forward ? payload : before);
                        // A removal only goes forward: where the next run does not act, entries went or not.
                        EXPECT_TRUE(targets(tree()) == wanted || (!acts && killed == RunKind::Uninstall)) << trace;
                        if (ended && changedNothing) break;  // k went past the killed run's last change
                        ASSERT_LT(k, 300);
                    }
}

// Killed with one payload, finished by runs with another: the journal, not the payload's names, tells what to do.
TEST_F(Journal, ALaterPayloadWithOtherNamesFinishesAKilledRun) {
    for (int k = 1;; ++k) {
        SetUp();
        seedOlderEntries();
        seedRecord(kStandaloneRecord);
        const Tree before = targets(tree()), payload = targets(payloadNamedReplaced(tree(), true));
        fake::state().stopAt = k;
        bool ended = true;
        try {
            run(RunKind::SilentInstall);
        } catch (const fake::Stopped&) { ended = false; }
        const bool forward = committed();
        fake::state().stopAt = 0;
        for (const wchar_t* entry :
             {L"plugins\\Eclipse\\core", L"plugins\\Eclipse\\Core.Ext", L"plugins\\Eclipse\\ui.jar", L"add-ons\\addon"})
            platform::moveEntry((L"C:\\Setup\\" + std::wstring(entry)).c_str(),
                                (L"C:\\Setup\\" + std::wstring(entry) + L"-3.2").c_str());
        run(RunKind::SilentInstall);
        run(RunKind::Uninstall);
        EXPECT_EQ(targets(tree()), forward ? payload : before) << k;
        EXPECT_TRUE(nothingInFlight()) << k;
        if (ended) break;
    }
}

// What cannot be finished now waits in the staging folder, named in the journal, and no run works at that target
// until it can be finished.
TEST_F(Journal, WhatCannotBeFinishedWaitsAndBlocksOnlyItsTarget) {
    seedOlderEntries();
    seedRecord(kStandaloneRecord);
    const Tree payload = targets(payloadNamedReplaced(tree(), true));
    auto& link = fake::state().nodes[L"c:\\eclipse\\plugins\\core\\link"];
    link.extraAttributes |= platform::kAttributeReadOnly;  // cannot be removed as the link itself
    EXPECT_FALSE(run(RunKind::Integrate));
    EXPECT_NE(fake::stored(kJournal, L"Run 1").find(L"committing|C:\\sdk\\add-ons|C:\\eclipse\\plugins"),
              std::wstring::npos);
    EXPECT_FALSE(run(RunKind::Integrate));
    EXPECT_TRUE(fake::exists(L"C:\\eclipse\\plugins\\.quorvane\\0\\link"));
    const Lines& log = fake::state().log;  // the staging folder is hidden
    EXPECT_NE(std::find(log.begin(), log.end(), L"attrib C:\\eclipse\\plugins\\.quorvane 2"), log.end());
    fake::state().nodes[L"c:\\eclipse\\plugins\\.quorvane\\0\\link"].extraAttributes &= ~platform::kAttributeReadOnly;
    // What a slot gained since the run that filled it is read whole before it goes: here, what leads elsewhere.
    fake::state().nodes[L"c:\\eclipse\\plugins\\.quorvane\\0\\unseen"] = {true, 0, L"c:\\outside"};
    EXPECT_FALSE(run(RunKind::Integrate));
    EXPECT_TRUE(fake::exists(L"C:\\outside\\kept"));
    fake::state().nodes.erase(L"c:\\eclipse\\plugins\\.quorvane\\0\\unseen");
    EXPECT_TRUE(run(RunKind::Integrate));
    EXPECT_EQ(targets(tree()), payload);
    EXPECT_TRUE(nothingInFlight());
    // A shell delete that reports success but leaves the entry does not count as gone.
    fake::state().shellResults[L"C:\\eclipse\\plugins\\.quorvane\\0"] = 0;
    EXPECT_FALSE(run(RunKind::Integrate));
    EXPECT_TRUE(fake::exists(L"C:\\eclipse\\plugins\\.quorvane\\0"));
    fake::state().shellResults.clear();
    EXPECT_TRUE(run(RunKind::Integrate) && nothingInFlight());
}

// A journal that cannot be written: before the first change, the run changes nothing; at its commit point, it is
// taken back.
TEST_F(Journal, AJournalThatCannotBeWrittenLeavesEverythingAsItWas) {
    seedOlderEntries();
    const Tree before = tree();
    for (const wchar_t* refused : {L"in flight", L"committing"}) {
        fake::state().refusedWrites = refused;
        EXPECT_FALSE(run(RunKind::Integrate)) << refused;
        EXPECT_TRUE(fake::state().changes == 0 || refused != std::wstring(L"in flight")) << refused;
        EXPECT_EQ(tree(), before) << refused;
        EXPECT_TRUE(nothingInFlight()) << refused;
    }
}

// A silent run waits ten minutes at most for another run, then changes nothing; so does an Integrate.
TEST_F(Journal, ARunThatCannotHaveTheLockChangesNothing) {
    seedRecord(kStandaloneRecord);
    fake::state().lockHeldElsewhere = true;
    const Tree before = tree();
    for (const RunKind kind : {RunKind::SilentInstall, RunKind::Uninstall, RunKind::Integrate}) {
        EXPECT_FALSE(run(kind) && kind == RunKind::Integrate);
        EXPECT_EQ(fake::state().calls.back(), L"lock 600000");
    }
    EXPECT_EQ(tree(), before);
    EXPECT_EQ(fake::state().log, Lines{});
}

}  // namespace
