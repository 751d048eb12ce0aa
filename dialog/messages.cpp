#include "dialog/messages.h"

#include "platform/platform.h"

const wchar_t kCaption[] = L"Quorvane v3.1";

const wchar_t kUsageText[] =
    L"Usage: Quorvane [-install | -uninstall] [-silence]\r\n"
    L"\r\n"
    L"-install\r\n"
    L"\tInstall Parvex for Android components to the selected Android development "
    L"environment.\r\n"
    L"-uninstall\r\n"
    L"\tUninstall Parvex for Android components from the already integrated Android "
    L"development environment.\r\n"
    L"-silence\r\n"
    L"\tsilence mode (no dialog box).";

const wchar_t kIntroductionText[] =
    L"The Quorvane will install Parvex for Android components into the preferred Android "
    L"development environment (Android Studio or Android Developer Tools (ADT) Bundle or "
    L"standalone Eclipse and Android SDK) on your computer.";

const wchar_t kNotInstalled[] = L"Not installed!";

// The ADT texts end in the download hint, spelled out in each.
const BrowseTexts kAdtBrowseTexts = {
    L"Select the ADT root folder:",
    L"Click Browse and select a valid ADT root folder! If you have not downloaded the ADT "
    L"Bundle, then go to https://developer.android.com/sdk/index.html and check \"Other "
    L"Download Options\".",
    L"The folder \"%s\" is not a valid ADT root folder! If you have not downloaded the ADT "
    L"Bundle, then go to https://developer.android.com/sdk/index.html and check \"Other "
    L"Download Options\"."};
const BrowseTexts kEclipseBrowseTexts = {L"Select the Eclipse root folder:",
                                         L"Click Browse and select a valid Eclipse root folder!",
                                         L"The folder \"%s\" is not a valid Eclipse root folder!"};
const BrowseTexts kSdkBrowseTexts = {L"Select the Android SDK root folder:",
                                     L"Click Browse and select a valid Android SDK root folder!",
                                     L"The folder \"%s\" is not a valid Android SDK root folder!"};

const OutcomeTexts kAndroidStudioOutcome = {
    L"The Android Studio has been integrated with Parvex for Android successfully!",
    L"The Android Studio has not been integrated with Parvex for Android! Please try again!"};
const OutcomeTexts kAdtOutcome = {
    L"The selected ADT Bundle has been integrated with Parvex for Android successfully!",
    L"The selected ADT has not been integrated with Parvex for Android! Please try again!"};
const OutcomeTexts kStandaloneOutcome = {
    L"The selected standalone Eclipse and Android SDK have been integrated with Parvex for "
    L"Android successfully!",
    L"The selected standalone Eclipse and Android SDK have not been integrated with Parvex "
    L"for Android! Please try again!"};
const wchar_t kChooseAdtFirst[] =
    L"Click Browse and select a valid ADT root folder first! If you have not downloaded the "
    L"ADT Bundle, then go to https://developer.android.com/sdk/index.html and check \"Other "
    L"Download Options\".";
const wchar_t kChooseEclipseFirst[] = L"Click Browse and select a valid Eclipse root folder first!";
const wchar_t kChooseSdkFirst[] = L"Click Browse and select a valid Android SDK root folder first!";

namespace {
MessageText gMessage;
}

bool formatMessage(MessageText& out, const wchar_t* textTemplate, const wchar_t* argument) {
    std::size_t used = 0;
    bool fits = true;
    auto append = [&](wchar_t c) {
        if (used + 1 >= kMessageChars) {
            fits = false;
        } else {
            out.text[used++] = c;
        }
    };
    for (const wchar_t* p = textTemplate; *p != L'\0'; ++p) {
        if (p[0] == L'%' && p[1] == L's') {
            for (const wchar_t* a = argument; *a != L'\0'; ++a) {
                append(*a);
            }
            ++p;
        } else {
            append(*p);
        }
    }
    out.text[used] = L'\0';
    return fits;
}

int showMessage(const wchar_t* text, unsigned buttons, const wchar_t* argument) {
    formatMessage(gMessage, text, argument);
    return platform::messageBox(nullptr, gMessage.text, kCaption,
                                buttons | platform::kMbSetForeground);
}

void showBrowseError() {
    platform::messageBox(nullptr, L"Error opening browse window", L"ERROR", platform::kMbOk);
}
