// UnitU1Edit: the main window's commands that change, open and save the list, and show the editors.
#include "UnitU1.h"

void TForm1::ConnectEditing()
{
}
