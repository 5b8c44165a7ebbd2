#include "editorforms.h"

#include "forms.h"
#include "frmbrowser.h"

void registerEditorForms()
{
    Forms::registerForm(QStringLiteral("frmBrowser"), [] { return new frmBrowser; });
}
