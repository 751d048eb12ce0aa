#include "environment/staging_folder.h"

#include <algorithm>
#include <cwchar>
#include <vector>

#include "environment/folder_walk.h"
#include "environment/removal_rules.h"

const wchar_t kStagingName[] = L".quorvane";

namespace {

struct Mark {
    int number = 0;
    SlotKind kind = SlotKind::Removing;
    wchar_t name[kPathChars] = {};
};

// "12+name" -> slot 12, SetAside, "name"; false for anything that is no mark.
bool parseMark(const wchar_t* text, Mark& mark) {
    const wchar_t* at = text;
    mark.number = 0;
    for (; *at >= L'0' && *at <= L'9' && at - text < 6; ++at) {
        mark.number = mark.number * 10 + (*at - L'0');
    }
    const wchar_t kind = *at;
    if (at == text || (kind != L'+' && kind != L'-' && kind != L'~') || at[1] == L'\0') {
        return false;
    }
    mark.kind = static_cast<SlotKind>(kind);
    return copyText(mark.name, at + 1);
}

bool slotPath(const PathBuffer& folder, int number, PathBuffer& out) {
    wchar_t digits[16];
    std::swprintf(digits, 16, L"%d", number);
    return joinPath(out, folder.text, digits);
}

bool markPath(const PathBuffer& folder, int number, SlotKind kind, const wchar_t* name,
              PathBuffer& out) {
    wchar_t mark[kPathChars];
    return std::swprintf(mark, kPathChars, L"%d%lc%ls", number, static_cast<wchar_t>(kind), name) >
               0 &&
           joinPath(out, folder.text, mark);
}

std::size_t digitsOf(int number) {
    std::size_t digits = 1;
    for (; number >= 10; number /= 10) {
        ++digits;
    }
    return digits;
}

}  // namespace

bool StagingFolder::setTarget(const wchar_t* target) {
    return copyText(target_.text, target) && copyText(targetFinal_.text, target) &&
           joinPath(path_, target, kStagingName);
}

bool StagingFolder::present() const {
    platform::FindEntry entry{};
    return lookUpEntry(path_.text, entry);
}

bool StagingFolder::fitsInNextSlot(const wchar_t* name, std::size_t deepest,
                                   bool forRestore) const {
    PathBuffer mark;
    const std::size_t below = deepest - std::wcslen(name);
    const int number = forRestore ? std::max(next_, mostSlots_ - 1) : next_;
    return std::wcslen(path_.text) + 1 + digitsOf(number) + below < kPathChars &&
           markPath(path_, number, SlotKind::SetAside, name, mark);
}

bool StagingFolder::open() {
    std::uint32_t attributes = 0;
    if (open_) {
        return true;
    }
    if (!platform::entryAttributes(path_.text, &attributes)) {
        if (!platform::createDirectory(path_.text)) {
            report(L"The staging folder could not be made, error %u", platform::lastError(),
                   path_.text);
            return false;
        }
        platform::setAttributes(path_.text, platform::kAttributeHidden);
        firstOwn_ = 0;
    }
    // Held, and where it seems: a link here would lead every rename elsewhere.
    if (!holdWhereItSeems(held_, path_.text)) {
        report(L"Left alone: the staging folder is not where it seems", 0, path_.text);
        return false;
    }
    open_ = true;
    return true;
}

bool StagingFolder::mark(SlotKind kind, const wchar_t* name, PathBuffer& slot) {
    if (!open() || !markPath(path_, next_, kind, name, lastMark_) ||
        !slotPath(path_, next_, slot)) {
        return false;
    }
    if (!platform::createDirectory(lastMark_.text)) {
        report(L"A slot could not be marked, error %u", platform::lastError(), lastMark_.text);
        return false;
    }
    ++next_;
    return true;
}

void StagingFolder::unmarkLast() {
    platform::removeDirectory(lastMark_.text);
}

TakenOut StagingFolder::takeOut(const wchar_t* name, platform::Window owner) {
    PathBuffer path;
    PathBuffer slot;
    platform::FindEntry entry{};
    std::size_t deepest = 0;
    if (!joinPath(path, target_.text, name) || !lookUpEntry(path.text, entry)) {
        return TakenOut::Gone;  // not in the target: nothing to take out
    }
    if (isLink(entry)) {
        // A link goes as the link itself; what it leads to is never touched.
        if (removeLinkItself(path, entry.attributes)) {
            return TakenOut::Gone;
        }
        report(L"Link left as it is, error %u", platform::lastError(), path.text);
        return TakenOut::LeftAlone;
    }
    if (!joinPath(path, target_.text, entry.name) ||
        !surveyEntry(&targetFinal_, target_.text, entry, deepest)) {
        return TakenOut::LeftAlone;
    }
    if (!fitsInNextSlot(entry.name, deepest)) {
        report(L"Left alone: too long to be taken out whole", 0, path.text);
        return TakenOut::LeftAlone;
    }
    if (!mark(SlotKind::Removing, entry.name, slot)) {
        return TakenOut::LeftAlone;
    }
    if (!platform::moveEntry(path.text, slot.text)) {
        report(L"Left alone: could not be renamed for removal, error %u", platform::lastError(),
               path.text);
        unmarkLast();
        return TakenOut::LeftAlone;
    }
    const PathBuffer markOfSlot = lastMark_;
    if (!deleteForGood(slot, owner) || !platform::removeDirectory(markOfSlot.text)) {
        report(L"Left in the staging folder, to go in a later run", 0, slot.text);
        return TakenOut::Leftover;
    }
    return TakenOut::Gone;
}

bool StagingFolder::finishSlot(int number, SlotKind kind, const wchar_t* name, Direction direction,
                               platform::Window owner) {
    PathBuffer slot;
    PathBuffer back;
    platform::FindEntry entry{};
    std::size_t deepest = 0;
    if (!slotPath(path_, number, slot) || !joinPath(back, target_.text, name)) {
        return false;
    }
    const bool filled = lookUpEntry(slot.text, entry);
    const bool goes = kind == SlotKind::Removing ||
                      (kind == SlotKind::SetAside && direction == Direction::Forward);
    if (goes) {
        // A slot that this process did not fill is read whole first.
        FinalPath stagingFinal;
        copyText(stagingFinal.text, path_.text);
        if (!filled) {
            return true;
        }
        return (number >= firstOwn_ || surveyEntry(&stagingFinal, path_.text, entry, deepest)) &&
               deleteForGood(slot, owner);
    }
    if (direction == Direction::Forward || (kind == SlotKind::SetAside && !filled)) {
        return true;  // committed, or the entry was never moved
    }
    // Back: what the run put at name goes, and what was there comes back.
    if (takeOut(name, owner) == TakenOut::LeftAlone) {
        report(L"Not restored: the new entry could not be taken out", 0, back.text);
        return false;
    }
    if (kind == SlotKind::SetAside && !platform::moveEntry(slot.text, back.text)) {
        report(L"Not restored: could not be put back, error %u", platform::lastError(), slot.text);
        return false;
    }
    return true;
}

bool StagingFolder::finish(Direction direction, platform::Window owner) {
    if (!present()) {
        return true;
    }
    std::vector<Mark> marks;
    Mark mark;
    if (!open()) {
        return false;
    }
    bool known = visitEntries(path_.text, [&](const platform::FindEntry& entry) {
        if (parseMark(entry.name, mark)) {
            marks.push_back(mark);
            next_ = std::max(next_, mark.number + 1);
        }
        return true;
    });
    // Back, the latest slot first: each one undoes what came after the one before.
    std::sort(marks.begin(), marks.end(),
              [](const Mark& a, const Mark& b) { return a.number > b.number; });
    for (const Mark& each : marks) {
        PathBuffer markOfSlot;
        if (finishSlot(each.number, each.kind, each.name, direction, owner) &&
            markPath(path_, each.number, each.kind, each.name, markOfSlot)) {
            platform::removeDirectory(markOfSlot.text);
        }
    }
    held_.release();
    open_ = false;
    known = platform::removeDirectory(path_.text) && known;
    if (!known) {
        report(L"The staging folder keeps what could not be finished", 0, path_.text);
    }
    return known;
}
