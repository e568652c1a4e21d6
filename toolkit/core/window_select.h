#pragma once
// Window selection, queries and small services.

// Selects window 0-20 as the current window.
void YYWINSEL(int index, int option);
// YYWINSEL with the stored option word.
void YYWindowReselect(int index);
// Window queries by code (4: the current window index).
int YYWindowInfo(int code);

// Beeps, unless switched off (the switch lives in the toolkit settings).
void YYBeep();
void YYBeepIfEnabled();
// Logical flag: non-zero allows beeps.
void YYBeepEnable(int flag);
