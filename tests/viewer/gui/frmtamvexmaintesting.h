#pragma once

// The main window's fields, for tests that set up or check what a step left
// in them.

#include "frmtamvexmain.h"

class FrmTamvexMainTesting {
public:
    static int TermIndex(const FrmTamvexMain *main) { return main->TermIndex; }
    static QString &LastMode(FrmTamvexMain *main) { return main->LastMode; }
    static QString &LastHistoryEntry(FrmTamvexMain *main) { return main->LastHistoryEntry; }
    static QString &TempPagePath(FrmTamvexMain *main) { return main->TempPagePath; }
};
