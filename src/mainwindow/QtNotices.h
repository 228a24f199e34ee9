// Standard error of an unattended start carries the program's own lines only ("Quorbel:
// ..."), since scripts read it. Qt's own notices (a platform that cannot raise windows, a
// runtime folder that is not set, ...) stay off it; its critical and fatal messages still
// go out. A user who asks for Qt's messages with QT_LOGGING_RULES gets them all.
#pragma once

// Drops Qt's debug, info and warning messages for the rest of the process.
void DropQtNotices();
