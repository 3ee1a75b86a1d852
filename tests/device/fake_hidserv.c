/* A stand-in service library: built once without RequestStatusSetFeature and once with an Init
 * that fails, for the loader's failure paths, once with the twelve functions only (a library
 * from before the optional ones), and once scripted: a keyboard that never answers a
 * command but whose connection changes and consumer codes the test sends through the exported
 * Fake* functions, for the session's handling of them. */
#include "hidserv/hidserv.h"

#include <stdatomic.h>
#include <stddef.h>
#include <string.h>

#ifdef FAKE_SCRIPTED
#define FAKE_READS 8
static _Atomic(HidNotifyCallback) g_callbacks[FAKE_READS];
static _Atomic uint32_t g_tags[FAKE_READS];
static atomic_int g_devices = 1;
static _Atomic uint32_t g_status_report; /* last status report, first byte lowest */
#endif

HIDSERV_API int Debug(int level) {
    return level;
}
HIDSERV_API int Init(int reserved) {
    return FAKE_INIT_RESULT + reserved;
}
HIDSERV_API int End(void) {
    return 1;
}
HIDSERV_API int RequestGetDeviceCount(const HidUnitSelector* selector) {
#ifdef FAKE_SCRIPTED
    return selector != NULL ? atomic_load(&g_devices) : 0;
#else
    return selector != NULL;
#endif
}
HIDSERV_API int DeleteRequestFromUnitId(HidRequestHandle handle) {
#ifdef FAKE_SCRIPTED
    if (handle > 0 && handle <= FAKE_READS) {
        atomic_store(&g_callbacks[handle - 1], NULL);
    }
#endif
    return handle != 0;
}
HIDSERV_API int DeleteRequestFromHandle(HidRequestHandle handle) {
    return DeleteRequestFromUnitId(handle);
}
HIDSERV_API int RequestWrite(const HidUnitSelector* s, const uint8_t* d, int length) {
    return s && d ? length : 0;
}
HIDSERV_API int RequestWriteOne(const HidUnitSelector* s, const uint8_t* d, int length) {
    return s && d ? length : 0;
}
HIDSERV_API int RequestStatusWrite(const HidUnitSelector* s, HidNotifyCallback c, uint32_t t,
                                   const uint8_t* d, int length, HidRequestHandle* h) {
    (void)c;
    (void)t;
    *h = 0;
#ifdef FAKE_SCRIPTED
    if (d && length >= 2) {
        atomic_store(&g_status_report, (uint32_t)(d[0] | d[1] << 8));
    }
#endif
    return s && d ? length : 0;
}
HIDSERV_API int RequestStatusGet(const HidUnitSelector* s, uint8_t* d, int capacity) {
    return s && d ? capacity : 0;
}
HIDSERV_API int RequestAsyncRead(const HidUnitSelector* s, HidNotifyCallback c, uint32_t t,
                                 HidRequestHandle* h) {
    *h = 0;
#ifdef FAKE_SCRIPTED
    for (int i = 0; i < FAKE_READS && s && c; ++i) {
        HidNotifyCallback free_slot = NULL;
        if (atomic_compare_exchange_strong(&g_callbacks[i], &free_slot, c)) {
            atomic_store(&g_tags[i], t);
            *h = (HidRequestHandle)(i + 1);
            return 1;
        }
    }
    return 0;
#else
    (void)t;
    return s && c ? 1 : 0;
#endif
}
#ifndef FAKE_WITHOUT_SET_FEATURE
HIDSERV_API int RequestStatusSetFeature(const HidUnitSelector* s, const uint8_t* d, int length) {
    return s && d ? length : 0;
}
#endif

#ifdef FAKE_SCRIPTED
static void notify_reads(uint32_t tag, uint32_t kind, uint32_t length_or_count,
                         const uint8_t* data) {
    for (int i = 0; i < FAKE_READS; ++i) {
        HidNotifyCallback callback = atomic_load(&g_callbacks[i]);
        if (callback != NULL && atomic_load(&g_tags[i]) == tag) {
            const HidRequestRecord record = {tag, length_or_count, data};
            const HidReadNotification notification = {kind, &record};
            callback(&notification);
        }
    }
}
/* The number of keyboards the library counts from now on, and the change notified. */
HIDSERV_API void FakeConnect(int devices, int notify) {
    atomic_store(&g_devices, devices);
    if (notify) {
        notify_reads(HIDSERV_TAG_CTRL, HIDSERV_KIND_CONNECTION, (uint32_t)devices, NULL);
    }
}
HIDSERV_API void FakeConsumerCode(uint16_t code) {
    const uint8_t report[2] = {(uint8_t)(code & 0xFF), (uint8_t)(code >> 8)};
    notify_reads(HIDSERV_TAG_CONS, HIDSERV_KIND_DATA, 2, report);
}
HIDSERV_API uint32_t FakeStatusReport(void) {
    return atomic_load(&g_status_report);
}
/* What GetDeviceAccessProblem answers from now on. */
static int g_problem_count;
static char g_problem_text[64];
HIDSERV_API void FakeAccessProblem(int count, const char* text) {
    g_problem_count = count;
    strncpy(g_problem_text, text, sizeof g_problem_text);
}
HIDSERV_API int GetDeviceAccessProblem(char* nodes, int size) {
    if (nodes != NULL && size > 0) {
        memcpy(nodes, g_problem_text,
               (size_t)size < sizeof g_problem_text ? (size_t)size : sizeof g_problem_text);
    }
    return g_problem_count;
}
#endif
