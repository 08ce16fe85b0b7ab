/* The product's identity texts, shared by the version constants and by the Windows
   resource scripts; keep this file to plain #defines so that windres can read it. */
#ifndef ORVAN_VERSION_DEFS_H
#define ORVAN_VERSION_DEFS_H

#define ORVAN_MAKER "Morvane"
#define ORVAN_MAKER_DOMAIN "morvane.example"
#define ORVAN_PRODUCT_NAME "Orvan!"
/* The launcher's program file; its options file is named after it. */
#define ORVAN_PROGRAM_FILE_NAME "Orvan.exe"
#define ORVAN_APPLICATION_TITLE "Orvan! @ morvane.example"
#define ORVAN_VERSION_TEXT "0.1 Beta 1"
#define ORVAN_RIGHTS_NOTICE "Copyright (C) 2026 Morvane. All rights reserved."
#define ORVAN_AUTHOR_CREDIT "Written by the Morvane team at morvane.example."

#define ORVAN_VERSION_NUMBERS 0, 1, 0, 1

#endif
