/* The product's identity texts, shared by the version constants, by the Windows resource
   scripts and by the release script (which asks the preprocessor for
   ORVAN_PACKAGE_VERSION); keep this file to plain #defines so that windres can read it.
   The version is given once, as its four parts; every text of it is made from them. */
#ifndef ORVAN_VERSION_DEFS_H
#define ORVAN_VERSION_DEFS_H

#define ORVAN_MAKER "Morvane"
#define ORVAN_MAKER_DOMAIN "morvane.example"
#define ORVAN_PRODUCT_NAME "Orvan!"
/* The launcher's program file; its options file is named after it. */
#define ORVAN_PROGRAM_FILE_NAME "Orvan.exe"
#define ORVAN_APPLICATION_TITLE "Orvan! @ morvane.example"
#define ORVAN_RIGHTS_NOTICE "Copyright (C) 2026 Morvane. All rights reserved."
#define ORVAN_AUTHOR_CREDIT "Written by the Morvane team at morvane.example."

#define ORVAN_VERSION_MAJOR 0
#define ORVAN_VERSION_MINOR 1
#define ORVAN_VERSION_PATCH 0
/* The number of the beta; 0 for a final release. */
#define ORVAN_VERSION_BETA 1

#define ORVAN_STRINGIZE_(x) #x
#define ORVAN_STRINGIZE(x) ORVAN_STRINGIZE_(x)

/* "0.1" or "0.1.2": the patch shows only when there is one. */
#if ORVAN_VERSION_PATCH
#define ORVAN_VERSION_NUMBER_TEXT                                                                  \
    ORVAN_STRINGIZE(ORVAN_VERSION_MAJOR)                                                           \
    "." ORVAN_STRINGIZE(ORVAN_VERSION_MINOR) "." ORVAN_STRINGIZE(ORVAN_VERSION_PATCH)
#else
#define ORVAN_VERSION_NUMBER_TEXT                                                                  \
    ORVAN_STRINGIZE(ORVAN_VERSION_MAJOR) "." ORVAN_STRINGIZE(ORVAN_VERSION_MINOR)
#endif
#define ORVAN_PACKAGE_NUMBER_TEXT                                                                  \
    ORVAN_STRINGIZE(ORVAN_VERSION_MAJOR)                                                           \
    "." ORVAN_STRINGIZE(ORVAN_VERSION_MINOR) "." ORVAN_STRINGIZE(ORVAN_VERSION_PATCH)

/* The version as people read it ("0.1 Beta 1"), and as package managers compare it, in the
   semantic-versioning form ("0.1.0-beta.1"), which the release's file names, manifests and
   the Apps & features entry carry. */
#if ORVAN_VERSION_BETA
#define ORVAN_VERSION_TEXT ORVAN_VERSION_NUMBER_TEXT " Beta " ORVAN_STRINGIZE(ORVAN_VERSION_BETA)
#define ORVAN_PACKAGE_VERSION ORVAN_PACKAGE_NUMBER_TEXT "-beta." ORVAN_STRINGIZE(ORVAN_VERSION_BETA)
#else
#define ORVAN_VERSION_TEXT ORVAN_VERSION_NUMBER_TEXT
#define ORVAN_PACKAGE_VERSION ORVAN_PACKAGE_NUMBER_TEXT
#endif

#define ORVAN_VERSION_NUMBERS                                                                      \
    ORVAN_VERSION_MAJOR, ORVAN_VERSION_MINOR, ORVAN_VERSION_PATCH, ORVAN_VERSION_BETA

#endif
