#include "platform/rm/Implementation/XFileMszip.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include <zlib.h>

#include "platform/NonCopyable.h"

namespace rm {

namespace {

constexpr std::size_t kHeaderSize = 16;
constexpr std::size_t kWindow = 32768;

std::uint32_t Dword(const char* p) {
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

std::uint16_t Word(const char* p) {
    std::uint16_t v;
    std::memcpy(&v, p, 2);
    return v;
}

class RawInflater : private platform::NonCopyable {
public:
    RawInflater() { m_ok = inflateInit2(&m_stream, -MAX_WBITS) == Z_OK; }
    ~RawInflater() {
        if (m_ok) {
            inflateEnd(&m_stream);
        }
    }

    bool Ok() const { return m_ok; }
    z_stream& Stream() { return m_stream; }

private:
    z_stream m_stream{};
    bool m_ok = false;
};

} // namespace

bool InflateMszip(std::string_view body, std::size_t maxOutput, InflatedContent* out,
                  std::string* problem, std::size_t* problemOffset) {
    auto fail = [&](std::size_t offset, std::string text) {
        *problem = std::move(text);
        *problemOffset = offset;
        return false;
    };
    out->data.reset();
    out->size = 0;
    if (body.size() < 4) {
        return fail(0, "expected the 4-byte uncompressed size, found end of file");
    }
    // The declared size counts the 16-byte header too (real compressed files do); a size
    // without it is accepted as well.
    const std::size_t declared = Dword(body.data());
    if (declared > maxOutput + kHeaderSize) {
        return fail(0, "expected an uncompressed size of at most " + std::to_string(maxOutput) +
                           " bytes, found " + std::to_string(declared));
    }

    // The headers first: every block's place and size checked, the output's size summed.
    std::size_t total = 0;
    int blocks = 0;
    for (std::size_t pos = 4; pos < body.size();) {
        const std::string blockName = "block " + std::to_string(++blocks);
        if (body.size() - pos < 6) {
            return fail(pos, "expected the header of " + blockName + ", found end of file");
        }
        const std::size_t uncompressed = Word(body.data() + pos);
        const std::size_t compressed = Word(body.data() + pos + 2);
        if (compressed < 2 || compressed > body.size() - pos - 4) {
            return fail(pos, "expected " + std::to_string(compressed) + " bytes of " + blockName +
                                 ", found " + std::to_string(body.size() - pos - 4));
        }
        if (body[pos + 4] != 'C' || body[pos + 5] != 'K') {
            return fail(pos + 4, "expected the signature 'CK' of " + blockName);
        }
        if (total + uncompressed > declared) {
            return fail(pos, "expected at most " + std::to_string(declared) +
                                 " uncompressed bytes, " + blockName + " goes past that");
        }
        total += uncompressed;
        pos += 4 + compressed;
    }
    if (total + kHeaderSize != declared && total != declared) {
        return fail(body.size(), "expected " +
                                     std::to_string(declared - std::min(declared, kHeaderSize)) +
                                     " uncompressed bytes, found " + std::to_string(total));
    }

    RawInflater inflater;
    if (!inflater.Ok()) {
        return fail(0, "expected zlib to start, it could not");
    }
    // new char[] leaves the bytes uninitialised: zlib writes every one of them.
    std::unique_ptr<char[]> data(new char[total ? total : 1]);
    std::size_t done = 0;
    int block = 0;
    for (std::size_t pos = 4; pos < body.size();) {
        ++block;
        const std::size_t uncompressed = Word(body.data() + pos);
        const std::size_t compressed = Word(body.data() + pos + 2);
        z_stream& zs = inflater.Stream();
        inflateReset(&zs);
        if (done > 0) {
            const std::size_t dictionary = std::min(done, kWindow);
            inflateSetDictionary(&zs,
                                 reinterpret_cast<const Bytef*>(data.get() + done - dictionary),
                                 uInt(dictionary));
        }
        zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(body.data() + pos + 6));
        zs.avail_in = uInt(compressed - 2);
        zs.next_out = reinterpret_cast<Bytef*>(data.get() + done);
        zs.avail_out = uInt(uncompressed);
        const int result = uncompressed > 0 ? inflate(&zs, Z_FINISH) : Z_STREAM_END;
        const bool complete = zs.avail_out == 0 &&
                              (result == Z_STREAM_END || result == Z_OK || result == Z_BUF_ERROR);
        if (!complete) {
            std::string text = "expected deflate data that inflates to " +
                               std::to_string(uncompressed) + " bytes in block " +
                               std::to_string(block);
            if (zs.msg) {
                text += ", found corrupt data (";
                text += zs.msg;
                text += ")";
            } else {
                text += ", found " + std::to_string(uncompressed - zs.avail_out);
            }
            return fail(pos, text);
        }
        done += uncompressed;
        pos += 4 + compressed;
    }
    out->data = std::move(data);
    out->size = total;
    return true;
}

} // namespace rm
