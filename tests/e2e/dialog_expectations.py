"""What the main dialog must show, as plain data for the end-to-end tests."""

OLD_STUDIO = {1030, 1021, 1022, 1023, 1024}
OLD_ADT = {1032, 1017, 1002}
OLD_STANDALONE = {1031, 1018, 1012, 1019, 1013}
NEW_STUDIO = {1025, 1026, 1027, 1028}
NEW_ADT = {1014, 1003, 1001}
NEW_STANDALONE = {1015, 1010, 1008, 1016, 1011, 1009}
ALWAYS_ENABLED = {2, 1004, 1005, 1006, 1007, 1029}

INTRODUCTION = ("The Quorvane will install Parvex for Android components into the preferred "
                "Android development environment (Android Studio or Android Developer Tools (ADT) "
                "Bundle or standalone Eclipse and Android SDK) on your computer.")

DOWNLOAD_HINT = (" If you have not downloaded the ADT Bundle, then go to "
                 "https://developer.android.com/sdk/index.html and check \"Other Download "
                 "Options\".")


def expected_enabled(recorded_kind, selection, studio_installed):
    """The set of enabled controls for a recorded kind ("studio", "adt",
    "standalone") and a selection of the new group."""
    enabled = set(ALWAYS_ENABLED)
    enabled |= {"studio": OLD_STUDIO, "adt": OLD_ADT, "standalone": OLD_STANDALONE}[recorded_kind]
    enabled |= {"studio": NEW_STUDIO, "adt": NEW_ADT, "standalone": NEW_STANDALONE}[selection]
    if studio_installed:
        enabled.add(1020)
    return enabled


def addressed_controls():
    return (OLD_STUDIO | OLD_ADT | OLD_STANDALONE | NEW_STUDIO | NEW_ADT | NEW_STANDALONE
            | ALWAYS_ENABLED | {1020})
