// Administrator rights as the shell integration window sees them. Windows keeps the
// registrations of all users under HKEY_CLASSES_ROOT and needs an administrator to write them;
// here every registration is the user's own, so "administrator" means: the folders they are
// written to can be written.
#pragma once

// Every folder the registrations need can be written (or created).
bool IsUserAdmin();
// Windows starts the program again elevated. Here an elevated instance would register for
// the administrator's account, not for this user: nothing is restarted, the user is told which
// folder cannot be written, and the program stays open.
void RestartAsAdmin();
// A 32-bit program on 64-bit Windows; never here.
bool IsWow64();
