#pragma once
// Resource identifiers shared by the .rc file and the code.
#define IDI_KELVANE 1
// Pictures of the five page buttons, in button order.
#define IDI_PAGE0 101
#define IDI_PAGE1 102
#define IDI_PAGE2 103
#define IDI_PAGE3 104
#define IDI_PAGE4 105
