#pragma once

// Resource and control identifiers of the alarm dialog, shared by its template and its code.
#define IDD_FORM2 100
#define IDC_GROUPBOX1 101
#define IDC_BUTTON3 102
#define IDC_PANEL1 103
#define IDC_EDIT1 104
#define IDC_LABEL1 105
#define IDC_EDIT2 106
#define IDC_GROUPBOX2 107
#define IDC_CHECKBOX1 108
#define IDC_COMBOBOX1 109
#define IDC_TOOLBUTTON1 110
#define IDC_BUTTON1 IDOK
#define IDC_BUTTON2 IDCANCEL
