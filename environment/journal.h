// The machine-wide journal of the targets that runs are working in, in the
// program's own registry key (the 64-bit view, whichever build runs). A
// run's entry is written before its first change and goes once its staging
// folders are gone, so every later run finds what a killed run left,
// whatever the record and the payload's names are by then.
#pragma once

#include "environment/staging_folder.h"
#include "platform/platform.h"

extern const wchar_t kJournalKey[];

class JournalEntry {
public:
    // Names the run's targets as in flight (Back) or, for a removal, as
    // committing (Forward). False, with nothing changed, when it cannot be
    // written: then the run must change nothing.
    bool begin(Direction direction, StagingFolder* const* staging, int count);
    // The run's commit point: one write, after which it only goes forward.
    bool commit();
    // Finishes each staging folder in the run's direction. The entry goes
    // when every one is gone, else it stays for a later run.
    // True when all are gone.
    bool end(platform::Window owner);

private:
    bool write() const;

    wchar_t name_[16] = {};
    Direction direction_ = Direction::Back;
    StagingFolder* staging_[2] = {};
    int count_ = 0;
};

// Finishes every run that the journal names, each target in its run's
// direction: the first work of every run.
void finishJournal(platform::Window owner);

// Takes the run lock, waiting at most ten minutes for another run, then
// finishes what the journal names. False, with nothing changed, when
// another run held the lock all that time.
bool takeRunLock(platform::RunLock& lock, platform::Window owner);
