#pragma once

enum class EnvironmentKind { AndroidStudio, AdtBundle, StandaloneEclipseSdk };

// The folders of one environment. AndroidStudio: the Android Studio folder
// and its Android SDK folder; AdtBundle: the ADT root alone (second unused);
// StandaloneEclipseSdk: the Eclipse root and the Android SDK root.
struct EnvironmentRoots {
    const wchar_t* first;
    const wchar_t* second;
};
