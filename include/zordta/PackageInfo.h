/* What a host that loads a deliverable with dlopen can ask it, in plain C. */
#ifndef ZORDTA_PACKAGE_INFO_H
#define ZORDTA_PACKAGE_INFO_H

#include <stddef.h>

#include "zordta/Config.h"

#ifdef __cplusplus
extern "C" {
#endif

/* The package's description and version block. Texts are UTF-8 and live as long
   as the library stays loaded. */
typedef struct ZorDTAPackageInfo {
  const char* PackageName;        /* "ZorDTAPackage14" */
  const char* Description;        /* "ZorDTA component by ZOR Software" */
  unsigned FileVersion[4];        /* 4, 1, 2, 0 */
  unsigned ProductVersion[4];     /* 4, 1, 2, 0 */
  const char* FileVersionText;    /* "4.1.2.0" */
  const char* ProductVersionText; /* "4.1.2" */
  const char* FileDescription;    /* "ZorDTA Components" */
  const char* ProductName;        /* "ZorDTA" */
  int WideStrings;                /* 1: interface text is UTF-16; 0: Windows-1252 */
  const char* const* Units;       /* the units in load order, ending with a null pointer */
} ZorDTAPackageInfo;

/* The information of this deliverable; never null. */
ZORDTA_API const ZorDTAPackageInfo* ZorDTA_PackageInfo(void);

/* Finds a resource ("BITMAP", "TZORDTA", 1031; 0 for any language). Answers 1 and
   sets *data and *size, or 0 when the library holds no such resource. */
ZORDTA_API int ZorDTA_FindResource(const char* type, const char* name, unsigned language,
                                   const unsigned char** data, size_t* size);

#ifdef __cplusplus
}
#endif

#endif /* ZORDTA_PACKAGE_INFO_H */
