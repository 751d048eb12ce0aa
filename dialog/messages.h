// The system's texts and the one way they reach the user: a message box
// composed in the one message buffer.
#pragma once

#include <cstddef>

constexpr std::size_t kMessageChars = 1024;

// A message-box text; composition into it is bounded by its size.
struct MessageText {
    wchar_t text[kMessageChars] = {};
};

extern const wchar_t kCaption[];
extern const wchar_t kUsageText[];
extern const wchar_t kIntroductionText[];
extern const wchar_t kNotInstalled[];

// The texts of one Browse row; "%s" in notValid is the chosen folder.
struct BrowseTexts {
    const wchar_t* title;
    const wchar_t* noFolder;
    const wchar_t* notValid;
};
extern const BrowseTexts kAdtBrowseTexts;
extern const BrowseTexts kEclipseBrowseTexts;
extern const BrowseTexts kSdkBrowseTexts;

// What Integrate reports for one selection.
struct OutcomeTexts {
    const wchar_t* success;
    const wchar_t* failure;
};
extern const OutcomeTexts kAndroidStudioOutcome;
extern const OutcomeTexts kAdtOutcome;
extern const OutcomeTexts kStandaloneOutcome;
extern const wchar_t kChooseAdtFirst[];
extern const wchar_t kChooseEclipseFirst[];
extern const wchar_t kChooseSdkFirst[];

// Formats template into out, putting argument in place of each "%s". The
// argument is inserted as it stands, so a "%" in a path stays a "%". Fails,
// with the text cut at the buffer's end, when the result does not fit.
bool formatMessage(MessageText& out, const wchar_t* textTemplate, const wchar_t* argument);

// Shows text with no owner, the program's caption, buttons and
// MB_SETFOREGROUND; "%s" in it stands for argument. Returns the answer.
int showMessage(const wchar_t* text, unsigned buttons = 0, const wchar_t* argument = L"");

// The box captioned "ERROR" (MB_OK only) for a browser that cannot open.
void showBrowseError();
