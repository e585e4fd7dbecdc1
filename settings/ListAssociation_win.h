// ListAssociation_win: registers the program with the Windows shell as the opener of .lst files.
#pragma once

#include <string>

/// Writes, under HKEY_CLASSES_ROOT, the default value "lstfile" of ".lst" and the default value
/// exePath + " %1" (unquoted) of "lstfile\shell\open\command", creating the keys as needed and
/// replacing whatever was there. Stops at the first step that fails, keeping the steps before it,
/// and returns false with errorText "Failed to create key <key>" or "Failed to set data for ''".
bool RegisterListAssociation(const std::wstring &exePath, std::string &errorText);
