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

// One step of one kind: step 1 carries the plug-ins, step 2 the add-ons.
struct IntegrationStep {
    EnvironmentKind kind;
    int number;
    RootSlot root;
    const wchar_t* targetSub;   // below the root
    const wchar_t* payloadSub;  // below payloadRoot
    bool createTarget;          // the target is created first when missing
};

constexpr IntegrationStep kIntegrationSteps[] = {
    {EnvironmentKind::AndroidStudio, 1, RootSlot::First, L"plugins", L"plugins\\IntelliJ IDEA",
     false},
    {EnvironmentKind::AndroidStudio, 2, RootSlot::Second, L"add-ons", L"add-ons", true},
    {EnvironmentKind::AdtBundle, 1, RootSlot::First, L"eclipse\\plugins", L"plugins\\Eclipse",
     false},
    {EnvironmentKind::AdtBundle, 2, RootSlot::First, L"sdk\\add-ons", L"add-ons", true},
    {EnvironmentKind::StandaloneEclipseSdk, 1, RootSlot::First, L"plugins", L"plugins\\Eclipse",
     false},
    {EnvironmentKind::StandaloneEclipseSdk, 2, RootSlot::Second, L"add-ons", L"add-ons", true},
};

// The step of one kind; number is 1 or 2.
constexpr const IntegrationStep& integrationStep(EnvironmentKind kind, int number) {
    return kIntegrationSteps[static_cast<int>(kind) * 2 + (number == 1 ? 0 : 1)];
}

constexpr const wchar_t* stepRoot(const IntegrationStep& step, const EnvironmentRoots& roots) {
    return step.root == RootSlot::First ? roots.first : roots.second;
}

static_assert(integrationStep(EnvironmentKind::AdtBundle, 2).number == 2 &&
                  integrationStep(EnvironmentKind::AdtBundle, 2).kind ==
                      EnvironmentKind::AdtBundle &&
                  integrationStep(EnvironmentKind::StandaloneEclipseSdk, 1).kind ==
                      EnvironmentKind::StandaloneEclipseSdk,
              "the table is in kind and step order");
