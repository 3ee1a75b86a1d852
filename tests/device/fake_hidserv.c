/* A stand-in service library for the loader's failure paths: built once without
 * RequestStatusSetFeature and once with an Init that fails. */
#include "hidserv/hidserv.h"

#include <stddef.h>

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
    return selector != NULL;
}
HIDSERV_API int DeleteRequestFromUnitId(HidRequestHandle handle) {
    return handle != 0;
}
HIDSERV_API int DeleteRequestFromHandle(HidRequestHandle handle) {
    return handle != 0;
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
    return s && d ? length : 0;
}
HIDSERV_API int RequestStatusGet(const HidUnitSelector* s, uint8_t* d, int capacity) {
    return s && d ? capacity : 0;
}
HIDSERV_API int RequestAsyncRead(const HidUnitSelector* s, HidNotifyCallback c, uint32_t t,
                                 HidRequestHandle* h) {
    (void)t;
    *h = 0;
    return s && c ? 1 : 0;
}
#ifndef FAKE_WITHOUT_SET_FEATURE
HIDSERV_API int RequestStatusSetFeature(const HidUnitSelector* s, const uint8_t* d, int length) {
    return s && d ? length : 0;
}
#endif
