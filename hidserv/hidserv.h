/* The HID service library: the one interface between the program and whatever carries its
 * reports to the keyboard (hidapi for a real keyboard, the virtual keyboard for development and
 * tests). Both implementations export these twelve functions with C linkage, and GetDeviceLockPath
 * and GetDeviceAccessProblem besides; the program loads one of them at run time by file name and
 * looks the functions up by name. */
#ifndef TARVENOR_HIDSERV_H
#define TARVENOR_HIDSERV_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32)
#define HIDSERV_API __declspec(dllexport)
#else
#define HIDSERV_API __attribute__((visibility("default")))
#endif

/* Which fields of a selector must match a device interface. */
#define HIDSERV_MATCH_VENDOR 0x1u
#define HIDSERV_MATCH_PRODUCT 0x2u
#define HIDSERV_MATCH_USAGE_PAGE 0x4u
#define HIDSERV_MATCH_USAGE 0x8u
#define HIDSERV_MATCH_ALL 0xFu

#define HIDSERV_VENDOR_ID 0x0C45u
#define HIDSERV_PRODUCT_ID 0x0820u

/* Names one interface (top-level collection) of the keyboard. 16 bytes. */
typedef struct HidUnitSelector {
    uint32_t match_mask;
    uint16_t vendor_id;
    uint16_t product_id;
    uint16_t usage_page;
    uint16_t usage;
    uint8_t reserved[4];
} HidUnitSelector;

/* The three interfaces the program talks to. */
#define HIDSERV_COMMAND_USAGE_PAGE 0xFF1Cu
#define HIDSERV_COMMAND_USAGE 0x0092u
#define HIDSERV_CONSUMER_USAGE_PAGE 0x000Cu
#define HIDSERV_CONSUMER_USAGE 0x0001u
#define HIDSERV_STATUS_USAGE_PAGE 0x0008u
#define HIDSERV_STATUS_USAGE 0x0089u

/* Request tags: four letters, the first one most significant. */
#define HIDSERV_TAG_CTRL 0x4354524Cu
#define HIDSERV_TAG_CONS 0x434F4E53u
#define HIDSERV_TAG_DEL 0x004C4544u

/* Notification kinds. */
#define HIDSERV_KIND_CONNECTION 0u
#define HIDSERV_KIND_DATA 1u

/* Identifies a request placed with the library; 0 is never a valid handle. */
typedef uint32_t HidRequestHandle;

/* The request a notification belongs to, as the library reports it. */
typedef struct HidRequestRecord {
    uint32_t tag;
    /* Data notifications: number of bytes at data. Connection changes: the number of connected
     * devices that match the request's selector. */
    uint32_t length_or_count;
    /* The input report exactly as the interface delivered it (first byte is the report id on
     * interfaces that number their reports). NULL for connection changes. */
    const uint8_t* data;
} HidRequestRecord;

typedef struct HidReadNotification {
    uint32_t kind;
    const HidRequestRecord* request;
} HidReadNotification;

/* Called on a thread of the library; the pointers are valid only during the call. Returns 1. */
typedef int (*HidNotifyCallback)(const HidReadNotification* notification);

/* Diagnostics on standard error: 0 off (the default), 1 connection changes and failures,
 * 2 also every report (the virtual keyboard keeps reports in its traffic log instead).
 * Returns the previous level. */
HIDSERV_API int Debug(int level);
/* Starts the library; `reserved` must be 0. Returns a value > 0 on success. */
HIDSERV_API int Init(int reserved);
/* Cancels every request, stops the library's threads and closes every device. Returns 1. */
HIDSERV_API int End(void);
/* Number of connected device interfaces matching the selector. */
HIDSERV_API int RequestGetDeviceCount(const HidUnitSelector* selector);
/* Cancel a request. Neither waits for nor allows a callback of it after returning (unless called
 * from that very callback). Handle 0 is ignored. Return 1 when the handle was known, else 0. */
HIDSERV_API int DeleteRequestFromUnitId(HidRequestHandle handle);
HIDSERV_API int DeleteRequestFromHandle(HidRequestHandle handle);
/* Writes one output report to every matching interface; returns how many took it. */
HIDSERV_API int RequestWrite(const HidUnitSelector* selector, const uint8_t* data, int length);
/* Writes one output report to the first matching interface; returns the bytes written, or 0 when
 * no device took it. */
HIDSERV_API int RequestWriteOne(const HidUnitSelector* selector, const uint8_t* data, int length);
/* Writes a short output report to the selector's interface. The write completes before the call
 * returns and the callback is not called; the handle names the finished request until it is
 * deleted. Returns the bytes written, or 0 (and handle 0) when no device took it. */
HIDSERV_API int RequestStatusWrite(const HidUnitSelector* selector, HidNotifyCallback callback,
                                   uint32_t tag, const uint8_t* data, int length,
                                   HidRequestHandle* out_handle);
/* Reads a feature report; data[0] holds the report id on entry. Returns the bytes read, or 0. */
HIDSERV_API int RequestStatusGet(const HidUnitSelector* selector, uint8_t* data, int capacity);
/* Places a standing read: the callback receives every input report of the selector's interface
 * (kind 1) and every change in the number of matching devices (kind 0). Returns 1 on success. */
HIDSERV_API int RequestAsyncRead(const HidUnitSelector* selector, HidNotifyCallback callback,
                                 uint32_t tag, HidRequestHandle* out_handle);
/* Sends a feature report; data[0] is the report id. Returns the bytes written, or 0. */
HIDSERV_API int RequestStatusSetFeature(const HidUnitSelector* selector, const uint8_t* data,
                                        int length);

/* Optional (a caller that does not find it goes without): the file on which programs sharing the
 * keyboard take an advisory lock for a whole operation, so that only one talks to it at a time.
 * The virtual keyboard names keyboard.lock in its memory folder; the hidapi library names
 * keyboard-0c45-0820.lock in $XDG_RUNTIME_DIR/tarvenor (/tmp/tarvenor-<uid> without it). The
 * folder exists on return; the file is the caller's to create. Works before Init. Writes the
 * path, NUL-terminated, into `path` and returns its length; returns 0 (and an empty string when
 * size > 0) when there is no keyboard to name or the path would not fit in `size` bytes, since a
 * shortened path would name another file. */
HIDSERV_API int GetDeviceLockPath(char* path, int size);

/* Optional: why a keyboard that is plugged in does not count. Returns how many of the keyboard's
 * hidraw nodes exist but may not be opened by this user (no udev rule granting access), and
 * writes their paths into `nodes`, NUL-terminated and separated by '\n': as many whole paths as
 * fit in `size` bytes (an empty string when none fits; `nodes` may be NULL when size is 0).
 * Such nodes are left out of RequestGetDeviceCount. The virtual keyboard always returns 0.
 * Works before Init. TARVENOR_SYSFS_ROOT and TARVENOR_DEV_ROOT (test hooks) move the hidraw
 * table from /sys and the nodes from /dev. */
HIDSERV_API int GetDeviceAccessProblem(char* nodes, int size);

#ifdef __cplusplus
}
#endif

#endif
