// The environment kinds, their folders and where each step's payload goes.
#pragma once

enum class EnvironmentKind { AndroidStudio, AdtBundle, StandaloneEclipseSdk };

// The folders of one environment. AndroidStudio: the Android Studio folder
// and its Android SDK folder; AdtBundle: the ADT root alone (second unused);
// StandaloneEclipseSdk: the Eclipse root and the Android SDK root.
struct EnvironmentRoots {
    const wchar_t* first;
    const wchar_t* second;
};

enum class RootSlot { First, Second };

// Where one step's payload comes from and goes.
struct IntegrationStep {
    RootSlot root;
    const wchar_t* targetSub;   // below the root
    const wchar_t* payloadSub;  // below payloadRoot
    bool createTarget;          // the target is created first when missing
};

// By kind, in the order of EnvironmentKind, then by step: the plug-ins, the add-ons.
constexpr IntegrationStep kIntegrationSteps[3][2] = {
    // AndroidStudio
    {{RootSlot::First, L"plugins", L"plugins\\IntelliJ IDEA", false},
     {RootSlot::Second, L"add-ons", L"add-ons", true}},
    // AdtBundle
    {{RootSlot::First, L"eclipse\\plugins", L"plugins\\Eclipse", false},
     {RootSlot::First, L"sdk\\add-ons", L"add-ons", true}},
    // StandaloneEclipseSdk
    {{RootSlot::First, L"plugins", L"plugins\\Eclipse", false},
     {RootSlot::Second, L"add-ons", L"add-ons", true}},
};

// The step of one kind: number 1 carries the plug-ins, 2 the add-ons.
constexpr const IntegrationStep& integrationStep(EnvironmentKind kind, int number) {
    return kIntegrationSteps[static_cast<int>(kind)][number == 1 ? 0 : 1];
}

constexpr const wchar_t* stepRoot(const IntegrationStep& step, const EnvironmentRoots& roots) {
    return step.root == RootSlot::First ? roots.first : roots.second;
}
