#pragma once

// Registers the editor's window under its name "frmBrowser", so that other
// windows open it with Forms::instance(u"frmBrowser"_s)->Show().
void registerEditorForms();
