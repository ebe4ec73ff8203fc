#include "document/file_error.h"

#include "document/error_box.h"
#include "document/error_report.h"

NOT_INLINED FileError FileFailure(int number) {
    return {number, CaptureCodeAddresses(1), {}, 0};
}

NOT_INLINED FileError SystemFailure(unsigned long code) {
    return {ErrorNumberForSystemCode(code), CaptureCodeAddresses(1), {}, code};
}
