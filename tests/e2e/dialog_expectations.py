"""What the main dialog must show, as plain data for the end-to-end tests."""

OLD_STUDIO = {1030, 1021, 1022, 1023, 1024}
OLD_ADT = {1032, 1017, 1002}
OLD_STANDALONE = {1031, 1018, 1012, 1019, 1013}
NEW_STUDIO = {1025, 1026, 1027, 1028}
NEW_ADT = {1014, 1003, 1001}
NEW_STANDALONE = {1015, 1010, 1008, 1016, 1011, 1009}
ALWAYS_ENABLED = {2, 1004, 1005, 1006, 1007, 1029}

# Template 9 in template order: id, window class, text.
TEMPLATE_9 = [
    (2, "Button", "Cancel"),
    (1017, "Static", "ADT Bundle root folder:"),
    (1001, "Edit", None),
    (1002, "Edit", None),
    (1003, "Button", "Browse ..."),
    (1004, "Button", "Clean previously integrated Android development environment."),
    (1005, "Button", "Integrate"),
    (1006, "Button", "Android Developer Tools (ADT) Bundle:"),
    (1007, "Button", "Standalone Eclipse and Android SDK:"),
    (1029, "Button", "Choose the new Android development environment which you want to integrate "
                     "with Parvex for Android:"),
    (1008, "Edit", None),
    (1009, "Edit", None),
    (1010, "Button", "Browse ..."),
    (1011, "Button", "Browse ..."),
    (1012, "Edit", None),
    (1013, "Edit", None),
    (1019, "Static", "Android SDK root folder:"),
    (1018, "Static", "Eclipse root folder:"),
    (-1, "Button", "The following Android development environment has been integrated already "
                   "with Parvex for Android:\t"),
    (1016, "Static", "Android SDK root folder:"),
    (1015, "Static", "Eclipse root folder:"),
    (1014, "Static", "ADT Bundle root folder:"),
    (1032, "Static", "Android Developer Tools (ADT) Bundle:"),
    (1031, "Static", "Standalone Eclipse and Android SDK:"),
    (-1, "Static", "IMPORTANT: All the Android Studio/ Android Developer Tools (ADT)/ Eclipse "
                   "sessions must be closed prior to integrate!"),
    (1020, "Button", "Android Studio:"),
    (1021, "Static", "Android Studio path:"),
    (1022, "Edit", None),
    (1030, "Static", "Android Studio:"),
    (1023, "Static", "Android SDK path:"),
    (1024, "Edit", None),
    (1025, "Static", "Android Studio path:"),
    (1026, "Edit", None),
    (1027, "Static", "Android SDK path:"),
    (1028, "Edit", None),
]

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
    return {entry[0] for entry in TEMPLATE_9 if entry[0] != -1}
