#pragma once
// Whether the process may change what an installation changes: HKEY_LOCAL_MACHINE, the
// Windows and Program Files folders. An install monitor started without those rights records
// everything, yet its undo fails there item by item; the user should know before.

// True when the process token holds the Administrators group enabled (an elevated process,
// or an administrator where UAC does not filter the token).
bool HasAdministratorRights();
