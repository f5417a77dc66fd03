#include "fuzzcheck.h"
#include "verificationdata.h"

#include <cstddef>
#include <cstdint>

namespace {
QByteArray written(const VerificationData &data)
{
    return QByteArray("pattern=") + data.pattern + "\nversion=" + data.versionString().toLatin1()
        + "\ndebug=" + (data.debug ? "true" : "false") + "\nbuildkey=" + data.buildKey;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    // The loader hands over at most one byte more than the longest text.
    if (size > VerificationData::MaxTextLength + 1) {
        return 0;
    }
    const QByteArray text(reinterpret_cast<const char *>(bytes), static_cast<int>(size));
    VerificationData data;
    QString error;
    const bool parsed = VerificationData::parse(text, &data, &error);
    fuzzRequire(parsed == error.isEmpty(), "an error exactly when parsing fails");
    fuzzRequire(isOneLine(error), "the error is one printable line");
    if (!parsed) {
        return 0;
    }

    // What was understood reads back the same once written out again.
    VerificationData again;
    QString againError;
    fuzzRequire(VerificationData::parse(written(data), &again, &againError),
        "accepted values can be written and read again");
    fuzzRequire(again.pattern == data.pattern && again.buildKey == data.buildKey
            && again.majorVersion == data.majorVersion && again.minorVersion == data.minorVersion
            && again.patchVersion == data.patchVersion && again.debug == data.debug,
        "values survive writing and reading again");

    fuzzRequire(VerificationData::mismatch(data, data).isEmpty(), "a build matches itself");
    fuzzRequire(isOneLine(VerificationData::mismatch(data, VerificationData::hostData())),
        "the refusal is one printable line");
    return 0;
}
