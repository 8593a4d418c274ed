#include "platform/AdminRights.h"

#include <windows.h>

bool HasAdministratorRights() {
  SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
  PSID administrators = nullptr;
  if (!AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                                &administrators))
    return false;
  // A UAC-filtered token holds the group for denial only, which counts as not a member.
  BOOL member = FALSE;
  if (!CheckTokenMembership(nullptr, administrators, &member)) member = FALSE;
  FreeSid(administrators);
  return member != FALSE;
}
