/*
 * Records of the flash, BIOS-image and reassigned-sector operations of the
 * controller library. Packed and little-endian like every record in
 * kx_records.h; the assertions pin their layout.
 */
#ifndef KX_RECORDS_EXT_H
#define KX_RECORDS_EXT_H

#include "kx_records.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Bytes of image data one Flash_Data page carries. */
#define KX_FLASH_PAGE_BYTES 32768

/* One page of a flash image, in either direction. */
typedef struct _Flash_Data {
    KX_U32 Size;        /* valid bytes in Data */
    KX_U16 PageNum;     /* counting from 0 */
    KX_BOOLEAN isLastPage;
    KX_U8 Reserved0;
    KX_U16 Reserved[2];
    KX_U8 Data[KX_FLASH_PAGE_BYTES];
} KX_PACKED Flash_Data, *PFlash_Data;

/* Announces an image before its pages are written. */
typedef struct _KX_FLASH_PER_DATA {
    KX_U8 image_type;
    KX_U8 reserved[3];
    KX_U32 image_size;  /* length of the image file in bytes */
} KX_PACKED KX_FLASH_PER_DATA, *PKX_FLASH_PER_DATA;

/* Image types of the flash operations. */
#define KX_IMAGE_CONFIG    0
#define KX_IMAGE_BIN       1
#define KX_IMAGE_BIOS      2
#define KX_IMAGE_FIRMWARE  3
#define KX_IMAGE_AUTOLOAD  4
#define KX_IMAGE_RAW       6
#define KX_IMAGE_FIRMWARE2 9  /* second copy of a firmware image */
#define KX_IMAGE_ANY       255

/* Actions of KX_Flash_Bin. */
#define KX_FLASH_ERASE   1
#define KX_FLASH_UPDATE  15
#define KX_FLASH_VERSION 63
#define KX_FLASH_BACKUP  240

/* Version and identity of a BIOS image file. */
typedef struct _BIOS_Version {
    Version_Info_CIM BIOSVersion;
    KX_U16 VenID;
    KX_U16 DevID;
    KX_U8 Reserved[4];
} KX_PACKED BIOS_Version, *PBIOS_Version;

/* One entry of a disk's reassigned-sector table. */
typedef struct _RCT_Entry {
    KX_U64 lba;  /* first reassigned sector */
    KX_U32 sec;  /* sectors reassigned from there */
    KX_U8 flag;
    KX_U8 Reserved[3];
} KX_PACKED RCT_Entry, *PRCT_Entry;

#ifdef __cplusplus
}
#endif

KX_CHECK_SIZE(Flash_Data, 12 + KX_FLASH_PAGE_BYTES);
KX_CHECK_OFFSET(Flash_Data, PageNum, 4);
KX_CHECK_OFFSET(Flash_Data, isLastPage, 6);
KX_CHECK_OFFSET(Flash_Data, Data, 12);
KX_CHECK_SIZE(KX_FLASH_PER_DATA, 8);
KX_CHECK_OFFSET(KX_FLASH_PER_DATA, image_size, 4);
KX_CHECK_SIZE(BIOS_Version, 16);
KX_CHECK_OFFSET(BIOS_Version, VenID, 8);
KX_CHECK_OFFSET(BIOS_Version, DevID, 10);
KX_CHECK_SIZE(RCT_Entry, 16);
KX_CHECK_OFFSET(RCT_Entry, sec, 8);
KX_CHECK_OFFSET(RCT_Entry, flag, 12);

#endif /* KX_RECORDS_EXT_H */
