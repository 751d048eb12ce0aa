// The staging folder of one target: a hidden folder inside it where a run
// keeps, until it ends, every entry that it takes out of the target, with a
// mark beside each that says what it is. Nothing in it is where an IDE or
// the SDK manager looks, and a run that did not end is finished from it
// alone, whatever the payload's names are by then.
#pragma once

#include <cstddef>

#include "environment/folder_rules.h"
#include "environment/path_buffer.h"
#include "platform/platform.h"

// The staging folder's name in a target; no payload entry may have it.
extern const wchar_t kStagingName[];

// What a slot holds, by its mark "<number><kind><name>", an empty folder
// made before the slot is used and removed once it is finished.
enum class SlotKind : wchar_t {
    SetAside = L'+',   // what was at name, in its own spelling, is in the slot
    WasAbsent = L'-',  // nothing of name was there: what is there now is new
    Removing = L'~',   // the slot's entry goes for good
};

// Which way slots are finished: back to what was there before the run's
// commit point, or forward, past it.
enum class Direction { Back, Forward };

// What became of an entry taken out of the target.
enum class TakenOut { Gone, LeftAlone, Leftover };

class StagingFolder {
public:
    // target: the target's final path, held by the caller.
    bool setTarget(const wchar_t* target);
    const wchar_t* target() const { return target_.text; }
    const FinalPath& targetFinal() const { return targetFinal_; }
    // Something of a run that could not be finished is there.
    bool present() const;

    // Whether an entry whose longest path below the target is deepest long,
    // name included, fits in the next slot, with its mark; with forRestore,
    // in any slot that taking the run back may use.
    bool fitsInNextSlot(const wchar_t* name, std::size_t deepest, bool forRestore = false) const;
    // A run of entries marks a slot for each, and taking it back takes
    // at most one more for each.
    void expectEntries(int entries) { mostSlots_ = 2 * entries; }
    // Makes the next slot's mark, the folder first (hidden, held) when it is
    // missing; slot receives where the slot's entry goes.
    bool mark(SlotKind kind, const wchar_t* name, PathBuffer& slot);
    // Takes the last mark away again: its slot was never used.
    void unmarkLast();

    // Renames target\name into a slot of its own and deletes it there for
    // good, a link as the link itself. What leads elsewhere unseen, does not
    // fit or cannot be renamed (held open) is left alone, untouched; what
    // cannot be deleted stays in the slot, a leftover.
    TakenOut takeOut(const wchar_t* name, platform::Window owner);

    // Finishes every slot in direction and removes the folder once it is
    // empty. True when it is gone.
    bool finish(Direction direction, platform::Window owner);

private:
    bool open();
    bool finishSlot(int number, SlotKind kind, const wchar_t* name, Direction direction,
                    platform::Window owner);

    PathBuffer target_;
    PathBuffer path_;
    FinalPath targetFinal_;
    platform::HeldFolder held_;
    bool open_ = false;
    int next_ = 0;
    // Slots from here on were filled by this process, after a survey; all of
    // them when it made the folder.
    int firstOwn_ = 1 << 30;
    PathBuffer lastMark_;
    int mostSlots_ = 0;
};
