#pragma once
// Resource identifiers shared by the .rc file and the code.
#define IDI_KELVANE 1
// Pictures of the five page buttons, in button order.
#define IDI_PAGE0 101
#define IDI_PAGE1 102
#define IDI_PAGE2 103
#define IDI_PAGE3 104
#define IDI_PAGE4 105
// Pictures of the ten system-utility buttons, in button order.
#define IDI_SYSTOOL0 201
#define IDI_SYSTOOL1 202
#define IDI_SYSTOOL2 203
#define IDI_SYSTOOL3 204
#define IDI_SYSTOOL4 205
#define IDI_SYSTOOL5 206
#define IDI_SYSTOOL6 207
#define IDI_SYSTOOL7 208
#define IDI_SYSTOOL8 209
#define IDI_SYSTOOL9 210
// Page backgrounds.
#define IDB_WIZARD_BACKGROUND 301
#define IDB_DETECTOR_BACKGROUND 302
// The skin of the main window (400 to 499).
#define IDB_SKIN 401
#define IDB_MIN_HOVER 402
#define IDB_MIN_PRESSED 403
#define IDB_CLOSE_HOVER 404
#define IDB_CLOSE_PRESSED 405
