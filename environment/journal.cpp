#include "environment/journal.h"

#include <cwchar>

#include "environment/diagnostics.h"

const wchar_t kJournalKey[] = L"SOFTWARE\\Quorvane";

namespace {

// A run's value: "in flight|TARGET|TARGET" or "committing|TARGET|TARGET".
const wchar_t kInFlight[] = L"in flight";
const wchar_t kCommitting[] = L"committing";
constexpr wchar_t kSeparator = L'|';  // no Windows path holds it
constexpr std::size_t kValueChars = 3 * kPathChars;
constexpr int kMostRuns = 64;

const wchar_t* stateOf(Direction direction) {
    return direction == Direction::Forward ? kCommitting : kInFlight;
}

bool appendText(wchar_t* value, const wchar_t* text) {
    const std::size_t used = std::wcslen(value);
    if (used + 1 + std::wcslen(text) >= kValueChars) {
        return false;
    }
    if (used > 0) {
        value[used] = kSeparator;
        value[used + 1] = L'\0';
    }
    std::wcscat(value, text);
    return true;
}

long writeValue(const platform::RegistryKey& key, const wchar_t* name, const wchar_t* value) {
    const auto bytes = static_cast<std::uint32_t>((std::wcslen(value) + 1) * sizeof(wchar_t));
    return key.setString(name, value, bytes);
}

// Whether the key still holds any value; the key goes when it does not.
void dropKeyWhenEmpty(const platform::RegistryKey& key) {
    wchar_t name[32];
    if (!key.valueName(0, name, 32)) {
        platform::deleteRegistryKey(kJournalKey, true);
    }
}

// The target, held, is where the journal says: finished in direction.
bool finishTarget(const wchar_t* target, Direction direction, platform::Window owner) {
    std::uint32_t attributes = 0;
    if (!platform::entryAttributes(target, &attributes)) {
        return true;  // gone, and what was in it with it
    }
    platform::HeldFolder held;
    StagingFolder staging;
    if (!holdWhereItSeems(held, target) || !staging.setTarget(target)) {
        report(L"Not finished: the target is not where the journal says", 0, target);
        return false;
    }
    report(L"Finishing a run that did not end", 0, target);
    return staging.finish(direction, owner);
}

// Finishes one run's value; it goes, or names the targets left.
void finishRun(const platform::RegistryKey& key, const wchar_t* name, platform::Window owner) {
    wchar_t value[kValueChars] = {};
    std::uint32_t type = 0;
    std::uint32_t size = sizeof(value) - sizeof(wchar_t);
    if (key.query(name, &type, value, &size) != platform::kSuccess || type != platform::kRegSz) {
        return;
    }
    wchar_t* next = value;
    wchar_t* state = next;
    wchar_t left[kValueChars] = {};
    next = std::wcschr(next, kSeparator);
    const Direction direction = std::wcsncmp(state, kCommitting, std::wcslen(kCommitting)) == 0
                                    ? Direction::Forward
                                    : Direction::Back;
    appendText(left, stateOf(direction));
    bool anyLeft = false;
    while (next != nullptr) {
        wchar_t* target = next + 1;
        next = std::wcschr(target, kSeparator);
        if (next != nullptr) {
            *next = L'\0';
        }
        if (!finishTarget(target, direction, owner)) {
            anyLeft = appendText(left, target) || anyLeft;
        }
    }
    if (anyLeft) {
        writeValue(key, name, left);
    } else {
        key.deleteValue(name);
    }
}

}  // namespace

bool JournalEntry::begin(Direction direction, StagingFolder* const* staging, int count) {
    direction_ = direction;
    count_ = count;
    platform::RegistryKey key;
    if (key.create(kJournalKey, true) != platform::kSuccess) {
        report(L"The journal could not be opened, error %u", platform::lastError(), kJournalKey);
        return false;
    }
    // The first run number that no other entry has.
    bool free = false;
    for (int number = 1; number <= kMostRuns && !free; ++number) {
        wchar_t value[8];
        std::uint32_t type = 0;
        std::uint32_t size = sizeof(value);
        std::swprintf(name_, 16, L"Run %d", number);
        free = key.query(name_, &type, value, &size) == platform::kFileNotFound;
    }
    if (!free) {
        report(L"The journal is full", 0, kJournalKey);
        return false;
    }
    for (int i = 0; i < count; ++i) {
        staging_[i] = staging[i];
    }
    if (!write()) {
        dropKeyWhenEmpty(key);
        return false;
    }
    return true;
}

bool JournalEntry::commit() {
    direction_ = Direction::Forward;
    if (write()) {
        return true;
    }
    direction_ = Direction::Back;  // not past the commit point: the run is taken back
    return false;
}

bool JournalEntry::write() const {
    wchar_t value[kValueChars] = {};
    platform::RegistryKey key;
    bool fits = appendText(value, stateOf(direction_));
    for (int i = 0; i < count_; ++i) {
        fits = appendText(value, staging_[i]->target()) && fits;
    }
    if (!fits || key.open(nullptr, kJournalKey, true) != platform::kSuccess ||
        writeValue(key, name_, value) != platform::kSuccess) {
        report(L"The journal could not be written, error %u", platform::lastError(), name_);
        return false;
    }
    return true;
}

bool JournalEntry::end(platform::Window owner) {
    bool finished = true;
    for (int i = 0; i < count_; ++i) {
        finished = staging_[i]->finish(direction_, owner) && finished;
    }
    platform::RegistryKey key;
    if (key.open(nullptr, kJournalKey, true) != platform::kSuccess) {
        return false;
    }
    if (finished) {
        key.deleteValue(name_);
        dropKeyWhenEmpty(key);
    }
    return finished;
}

void finishJournal(platform::Window owner) {
    platform::RegistryKey key;
    if (key.open(nullptr, kJournalKey, true) != platform::kSuccess) {
        return;  // nothing in flight
    }
    wchar_t names[kMostRuns][16];
    int count = 0;
    while (count < kMostRuns && key.valueName(count, names[count], 16)) {
        ++count;
    }
    for (int i = 0; i < count; ++i) {
        finishRun(key, names[i], owner);
    }
    dropKeyWhenEmpty(key);
}

bool takeRunLock(platform::RunLock& lock, platform::Window owner) {
    constexpr std::uint32_t kTenMinutes = 10 * 60 * 1000;
    if (!lock.take(kTenMinutes)) {
        platform::debugOutput(L"Another run held the run lock for ten minutes: nothing was done");
        return false;
    }
    finishJournal(owner);
    return true;
}
