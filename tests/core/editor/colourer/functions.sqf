// functions.sqf - helpers
#define MAX_UNITS 12
#include "common.hpp"

/* Counts the units
   of a group. */
_count = 0;
{ if (alive _x) then { _count = _count + 1 } } forEach units _this;
hint format ["%1 of %2", _count, MAX_UNITS]; // report
_url = "http://example.invalid";
/*/ closes at once */ sleep 1;
/* one */ _a = 1; /* two */
_b = "/* not a string to the scan */"; player
/* open
sleep 5;
*/ player addWeapon "M16";
//******************************* banner *******
hint "no /* comment in here"; player
_s = 'nor /* in here'; sleep 1
_t = "a ""/*"" quoted twice"; // nor /* here
"//" /* slashes in a string hide no opening
   player */ hint "*/ /*";
/* a */ _u = 1; // /* the remark after a comment
player
