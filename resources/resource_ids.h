/* Resource and control identifiers, shared by quorvane.rc and the C++ code.
   Plain #defines only, so that both the resource compiler and C++ read it.

   In the main dialog, OLD names the upper group (the environment integrated
   so far, as the registry record names it) and NEW the lower group (the
   environment the user chooses now). */
#ifndef QUORVANE_RESOURCE_IDS_H
#define QUORVANE_RESOURCE_IDS_H

/* Templates and the icon group. */
#define IDD_MAIN                        9
#define IDD_PROGRESS                    103
#define IDI_QUORVANE                    102

/* The same values as the platform headers give them. */
#ifndef IDCANCEL
#define IDCANCEL                        2
#endif
#ifndef IDC_STATIC
#define IDC_STATIC                      (-1)
#endif

/* Main dialog (IDD_MAIN), upper group: the integrated environment. */
#define IDC_OLD_STUDIO_LINE             1030
#define IDC_OLD_STUDIO_PATH_LABEL       1021
#define IDC_OLD_STUDIO_PATH_EDIT        1022
#define IDC_OLD_STUDIO_SDK_LABEL        1023
#define IDC_OLD_STUDIO_SDK_EDIT         1024
#define IDC_OLD_ADT_LINE                1032
#define IDC_OLD_ADT_ROOT_LABEL          1017
#define IDC_OLD_ADT_ROOT_EDIT           1002
#define IDC_OLD_STANDALONE_LINE         1031
#define IDC_OLD_ECLIPSE_ROOT_LABEL      1018
#define IDC_OLD_ECLIPSE_ROOT_EDIT       1012
#define IDC_OLD_SDK_ROOT_LABEL          1019
#define IDC_OLD_SDK_ROOT_EDIT           1013

/* Main dialog, lower group: the new environment. */
#define IDC_NEW_GROUP                   1029
#define IDC_NEW_STUDIO_RADIO            1020
#define IDC_NEW_STUDIO_PATH_LABEL       1025
#define IDC_NEW_STUDIO_PATH_EDIT        1026
#define IDC_NEW_STUDIO_SDK_LABEL        1027
#define IDC_NEW_STUDIO_SDK_EDIT         1028
#define IDC_NEW_ADT_RADIO               1006
#define IDC_NEW_ADT_ROOT_LABEL          1014
#define IDC_NEW_ADT_ROOT_EDIT           1001
#define IDC_NEW_ADT_BROWSE              1003
#define IDC_NEW_STANDALONE_RADIO        1007
#define IDC_NEW_ECLIPSE_ROOT_LABEL      1015
#define IDC_NEW_ECLIPSE_ROOT_EDIT       1008
#define IDC_NEW_ECLIPSE_BROWSE          1010
#define IDC_NEW_SDK_ROOT_LABEL          1016
#define IDC_NEW_SDK_ROOT_EDIT           1009
#define IDC_NEW_SDK_BROWSE              1011
#define IDC_CLEAN_CHECK                 1004

/* Main dialog, buttons (Cancel is IDCANCEL). */
#define IDC_INTEGRATE                   1005

/* Progress window (IDD_PROGRESS). Its ids repeat two of the main dialog's;
   each template has its own id space. */
#define IDC_PROGRESS_TITLE              1021
#define IDC_PROGRESS_TEXT               1022

#endif /* QUORVANE_RESOURCE_IDS_H */
