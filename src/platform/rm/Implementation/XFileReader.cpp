#include "platform/rm/Implementation/XFileReader.h"

#include <cerrno>
#include <cstring>
#include <new>

#include <fcntl.h>
#include <unistd.h>

#include "platform/rm/Implementation/XFileBinaryTokenizer.h"
#include "platform/rm/Implementation/XFileError.h"
#include "platform/rm/Implementation/XFileMszip.h"
#include "platform/rm/Implementation/XFileParser.h"
#include "platform/rm/Implementation/XFileTextTokenizer.h"

namespace rm {

namespace {

constexpr std::size_t kHeaderSize = 16;

thread_local std::uint64_t t_reads = 0;

struct Header {
    XFileFormat format = XFileFormat::Text;
    int floatBytes = 4;
};

std::string Prefix(std::string_view fileName) {
    std::string s(fileName);
    s += ':';
    return s;
}

/// "xof " + version "0302"/"0303" + format + float size "0032"/"0064".
bool ParseHeader(std::string_view bytes, std::string_view fileName, Header* header,
                 std::string* message) {
    auto fail = [&](std::string text) {
        *message = Prefix(fileName) + "1: " + text;
        return false;
    };
    if (bytes.size() < kHeaderSize) {
        return fail(bytes.empty() ? "expected the header 'xof 0303txt 0032', found an empty file"
                                  : "expected the 16-byte header 'xof 0303txt 0032', found " +
                                        QuoteForMessage(bytes));
    }
    const std::string_view magic = bytes.substr(0, 4);
    const std::string_view version = bytes.substr(4, 4);
    const std::string_view format = bytes.substr(8, 4);
    const std::string_view floatSize = bytes.substr(12, 4);
    if (magic != "xof ") {
        return fail("expected 'xof ' at the start of the file, found " + QuoteForMessage(magic));
    }
    if (version != "0302" && version != "0303") {
        return fail("expected version 0302 or 0303, found " + QuoteForMessage(version));
    }
    if (format == "txt ") {
        header->format = XFileFormat::Text;
    } else if (format == "bin ") {
        header->format = XFileFormat::Binary;
    } else if (format == "tzip") {
        header->format = XFileFormat::CompressedText;
    } else if (format == "bzip") {
        header->format = XFileFormat::CompressedBinary;
    } else {
        return fail("expected the format 'txt ', 'bin ', 'tzip' or 'bzip', found " +
                    QuoteForMessage(format));
    }
    if (floatSize == "0032") {
        header->floatBytes = 4;
    } else if (floatSize == "0064") {
        header->floatBytes = 8;
    } else {
        return fail("expected the float size 0032 or 0064, found " + QuoteForMessage(floatSize));
    }
    return true;
}

/// Reads the header of a regular file (fewer bytes when the file is shorter).
HRESULT ReadHeaderBytes(const char* fileName, std::string* bytes, std::string* message) {
    XFileIdentity identity;
    HRESULT hr = IdentifyXFile(fileName, &identity, message);
    if (Failed(hr)) {
        return hr;
    }
    const int fd = ::open(fileName, O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        *message = std::string(fileName) + ": cannot open the file (" + std::strerror(errno) + ")";
        return D3DRMERR_FILENOTFOUND;
    }
    char header[kHeaderSize];
    const std::size_t done = ReadUpTo(fd, header, kHeaderSize);
    ::close(fd);
    bytes->assign(header, done);
    return D3DRM_OK;
}

} // namespace

HRESULT ReadXFileFromMemory(std::string_view bytes, std::string_view displayName,
                            XFileDocument* document, std::string* message,
                            XFileReadOptions options) {
    *document = XFileDocument{};
    document->hasMeshData = options.readMeshes;
    try {
        Header header;
        if (!ParseHeader(bytes, displayName, &header, message)) {
            return D3DRMERR_BADFILE;
        }
        document->format = header.format;
        const bool compressed = header.format == XFileFormat::CompressedText ||
                                header.format == XFileFormat::CompressedBinary;
        const bool binary =
            header.format == XFileFormat::Binary || header.format == XFileFormat::CompressedBinary;
        std::string_view content = bytes.substr(kHeaderSize);
        InflatedContent inflated;
        if (compressed) {
            std::string problem;
            std::size_t offset = 0;
            if (!InflateMszip(content, kMaxXFileSize, &inflated, &problem, &offset)) {
                *message = Prefix(displayName) + "byte " + std::to_string(kHeaderSize + offset) +
                           ": " + problem;
                return D3DRMERR_BADFILE;
            }
            content = inflated.View();
        }
        const XFileErrorContext context{displayName, binary, compressed};
        if (binary) {
            XFileBinaryTokenizer tokenizer(content, header.floatBytes, context);
            XFileParser<XFileBinaryTokenizer>(tokenizer, document, options).Parse();
        } else {
            XFileTextTokenizer tokenizer(content, context);
            XFileParser<XFileTextTokenizer>(tokenizer, document, options).Parse();
        }
    } catch (XFileError& error) {
        *message = std::move(error.message);
        return D3DRMERR_BADFILE;
    } catch (const std::bad_alloc&) {
        *message = Prefix(displayName) + " out of memory";
        return D3DRMERR_BADALLOC;
    }
    message->clear();
    return D3DRM_OK;
}

HRESULT ReadXFile(const char* fileName, XFileDocument* document, std::string* message,
                  XFileReadOptions options, XFileIdentity* identity) {
    XFileBytes bytes;
    HRESULT hr = bytes.Open(fileName, kMaxXFileSize, message);
    if (Failed(hr)) {
        return hr;
    }
    ++t_reads;
    hr = ReadXFileFromMemory(bytes.View(), fileName, document, message, options);
    if (bytes.Changed()) {
        *message = std::string(fileName) + ": the file changed while it was being read";
        return D3DRMERR_BADFILE;
    }
    if (identity) {
        *identity = bytes.Identity();
    }
    return hr;
}

std::uint64_t XFileReadsOnThisThread() {
    return t_reads;
}

HRESULT ReadXFileFormat(const char* fileName, XFileFormat* format, std::string* message) {
    std::string bytes;
    const HRESULT hr = ReadHeaderBytes(fileName, &bytes, message);
    if (Failed(hr)) {
        return hr;
    }
    Header header;
    if (!ParseHeader(bytes, fileName, &header, message)) {
        return D3DRMERR_BADFILE;
    }
    *format = header.format;
    message->clear();
    return D3DRM_OK;
}

} // namespace rm
