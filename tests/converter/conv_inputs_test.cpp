// Hostile inputs: playlists that would open other files, pictures and tags that unpack to
// gigabytes, and damage that must be named for what it is.
#include "conv_test_support.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/stat.h>

extern "C" {
#include <libavutil/crc.h>
}

using namespace convtest;

namespace {

constexpr long kPeakLimitKb = PeakLimitKb(150);

// A zlib stream of `prefix` (bytes below 128) and then `zeros` zero bytes, which pack ~1000:1:
// literals, then copies of 258 bytes at distance 1, in one block of fixed Huffman codes.
std::string Zlib(const std::string& prefix, std::uint64_t zeros) {
    std::string out = "\x78\x01";
    std::uint64_t bits = 0;
    int used = 0;
    const auto code = [&](std::uint32_t value, int n) { // Huffman codes go MSB first
        for (int i = n - 1; i >= 0; --i) {
            bits |= std::uint64_t{(value >> i) & 1} << used;
            if (++used == 8) {
                out += static_cast<char>(bits);
                bits = 0;
                used = 0;
            }
        }
    };
    code(0b110, 3); // the last block, of fixed codes
    std::uint32_t a = 1, b = 0;
    for (const char c : prefix + '\0') {
        code(0x30 + c, 8);
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    b = static_cast<std::uint32_t>((b + std::uint64_t{a} * ((zeros - 1) % 65521)) % 65521);
    std::uint64_t left = zeros - 1;
    for (; left >= 258; left -= 258)
        code(0xC5 << 5, 13); // length 258, distance 1
    for (; left > 0; --left)
        code(0x30, 8);
    code(0, 7); // end of block
    while (used != 0)
        code(0, 1);
    return out + Be32(b << 16 | a);
}

std::string PngChunk(const std::string& kind, const std::string& body) {
    const std::string both = kind + body;
    const std::uint32_t crc =
        av_crc(av_crc_get_table(AV_CRC_32_IEEE_LE), 0xFFFFFFFF,
               reinterpret_cast<const std::uint8_t*>(both.data()), both.size()) ^
        0xFFFFFFFF;
    return Be32(static_cast<std::uint32_t>(body.size())) + both + Be32(crc);
}

// A grey PNG of side x side black pixels.
std::string GreyPng(std::uint32_t side) {
    const std::string header = Be32(side) + Be32(side) + std::string("\x08\x00\x00\x00\x00", 5);
    return std::string("\x89PNG\r\n\x1a\n", 8) + PngChunk("IHDR", header) +
           PngChunk("IDAT", Zlib("", std::uint64_t{side} * (side + 1))) + PngChunk("IEND", "");
}

// A FLAC file with these pictures of side x side pixels.
std::string FlacWithPictures(const std::string& flac, const std::vector<std::string>& pngs,
                             std::uint32_t side) {
    std::vector<std::pair<int, std::string>> blocks;
    for (const std::string& png : pngs)
        blocks.emplace_back(6, FlacPicture("image/png", "", side, 8, png));
    return FlacWithBlocks(flac, blocks);
}

const std::string kApicHead("\x00image/png\x00\x03\x00", 13);

class ConvInputs : public ::testing::Test {
protected:
    ScratchDir work_;
    const std::string flac_ = Made("base.flac", "sine=duration=1");
    const std::string mp3_ = Made("base.mp3", "sine=duration=1");
};

// Pictures are copied, never decoded, and tag frames past what may be unpacked are left out
// unread: a cover that claims gigabytes of pixels, the largest one an output keeps (as text in
// OGG, which the output check unpacks again) and frames that unpack to 200 MB convert in little
// memory. ID3 states no picture size: it is read from the picture's header, as the writers need
// it. (This process must not decode or hold much either: a child started by posix_spawn inherits
// its peak.)
TEST_F(ConvInputs, BombsConvertInLittleMemory) {
    const std::string grey = GreyPng(16000), mp3 = ReadFile(mp3_);
    const std::string cover = ReadFile(Made("cover.png", "testsrc=s=37x21", {"-frames:v", "1"}));
    std::string frames = Id3Frame("TIT2", std::string("\x03") + "Kept");
    for (int i = 0; i < 5; ++i) // compressed, stating 40 MB unpacked
        frames += Id3Frame("APIC", Be32(40'000'000) + Zlib(kApicHead, 40'000'000 - 13), 0x0009);
    WriteFile(work_.file("bomb.flac"), FlacWithPictures(ReadFile(flac_), {grey}, 16000));
    WriteFile(work_.file("cover.mp3"), Id3Tag(Id3Frame("APIC", kApicHead + cover)) + mp3);
    WriteFile(work_.file("zip.mp3"), Id3Tag(frames) + mp3);
    const std::string zipNote = "note: the ID3 tag holds compressed frames that claim to unpack "
                                "to 200.0 MB; they are left out as damaged";
    // Input, output, the picture it holds ("" for none), and a line expected.
    const std::tuple<const char*, const char*, std::string, std::string> cases[] = {
        {"bomb.flac", ".mp3", grey, ""},   {"bomb.flac", ".flac", grey, ""},
        {"bomb.flac", ".wav", "", ""},     {"cover.mp3", ".mp3", cover, ""},
        {"cover.mp3", ".flac", cover, ""}, {"zip.mp3", ".mp3", "", zipNote}};
    for (const auto& [name, ext, picture, line] : cases) {
        SCOPED_TRACE(std::string(name) + " to " + ext);
        const std::string out = work_.file(std::string("out") + ext);
        const RunResult r = RunConv({"-i", work_.file(name), "-y", out}, -1, 120);
        EXPECT_EQ(r.exitCode, 0) << r.output;
        EXPECT_LT(r.peakKb, kPeakLimitKb);
        EXPECT_NE(r.output.find(line), std::string::npos) << r.output;
        const std::string bytes = ReadFile(out);
        EXPECT_EQ(bytes.find(picture.empty() ? "image/png" : picture) != std::string::npos,
                  !picture.empty());
        EXPECT_EQ(bytes.find("Kept") != std::string::npos, std::string(name) == "zip.mp3");
    }
    // Made last: it raises this process's peak.
    WriteFile(work_.file("big.mp3"),
              Id3Tag(Id3Frame("APIC", kApicHead + cover + std::string(16'000'000, '\0'))) + mp3);
    const RunResult r = RunConv({"-i", work_.file("big.mp3"), "-y", work_.file("big.ogg")});
    EXPECT_EQ(r.exitCode, 0) << r.output;
    EXPECT_LT(r.peakKb, kPeakLimitKb);
}

// Refused at once, in little memory, with one line that names the damage for what it is (not
// a lack of memory or a failing disk), and without opening what a playlist left in a converted
// folder names: the user's private file, or a pipe that would block for ever.
TEST_F(ConvInputs, HostileInputsAreRefusedWithTheirReason) {
    const std::string secret = work_.file("secret.mp3"), fifo = work_.file("pipe.mp3");
    std::filesystem::copy_file(mp3_, secret);
    ASSERT_EQ(chmod(secret.c_str(), 0600), 0);
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string hls = "#EXTM3U\n#EXT-X-TARGETDURATION:10\n#EXTINF:10,\n";
    const auto playlist = [](const std::string& kind) {
        return "a playlist or list of other files (" + kind +
               "), not a media file; the files it names are not opened";
    };
    const std::string png = GreyPng(1), flac = ReadFile(flac_), mp3 = ReadFile(mp3_);
    std::string manyFrames;
    for (int i = 0; i < 1200; ++i)
        manyFrames += Id3Frame("APIC", kApicHead + png);
    const std::string title = Id3Frame("TIT2", std::string("\x03title", 6));
    const std::string kB = std::to_string((title.size() + 10 + mp3.size() + 500) / 1000) + " kB)";
    const std::string wav = ReadFile(Made("short.wav", "sine=duration=0.09"));
    // A WAV header claiming 2.1 GHz, 200 channels or 60 KB per stereo sample.
    const auto impossible = [&](int offset, std::uint32_t value, int size) {
        std::string bytes = wav;
        for (int i = 0; i < size; ++i)
            bytes[wav.find("fmt ") + offset + i] = static_cast<char>(value >> (8 * i));
        return bytes;
    };
    const struct {
        const char* name;
        std::string bytes;
        std::string reason;
    } cases[] = {{"secret.m3u8", hls + secret + "\n#EXT-X-ENDLIST\n", playlist("hls")},
                 {"pipe.m3u8", hls + fifo + "\n#EXT-X-ENDLIST\n", playlist("hls")},
                 {"list.ffconcat", "ffconcat version 1.0\nfile secret.mp3\n", playlist("concat")},
                 {"pipe.ffconcat", "ffconcat version 1.0\nfile pipe.mp3\n", playlist("concat")},
                 {"many.mp3", Id3Tag(manyFrames) + mp3,
                  "the file holds 1200 pictures, more than can be read (999)"},
                 {"many.flac", FlacWithPictures(flac, std::vector<std::string>(1200, png), 1),
                  "the file holds 1200 pictures, more than can be read (999)"},
                 {"cut.flac", FlacWithPictures(flac, {png}, 1).substr(0, 100),
                  "the file ends unexpectedly (cut short or damaged)"},
                 {"cut-in-comment.flac", FlacWithPictures(flac, {png}, 1).substr(0, 60),
                  "the file ends unexpectedly (cut short or damaged)"},
                 {"huge-tag.mp3", Id3Tag(title, (1u << 28) - 1) + mp3,
                  "the file is damaged (its ID3 tag claims 268.4 MB, but the whole file is " + kB},
                 {"rate.wav", impossible(12, 2'130'714'432u, 4), "the file is damaged"},
                 {"channels.wav", impossible(10, 200u, 2), "the file is damaged"},
                 {"block.wav", impossible(20, 60000u, 2), "the file is damaged"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string in = work_.file(c.name), out = work_.file("out.mp3");
        WriteFile(in, c.bytes);
        const RunResult r = RunConv({"-i", in, "-y", out}, -1, 60);
        EXPECT_EQ(r.exitCode, 1) << r.output;
        EXPECT_TRUE(r.lastLine().starts_with("conv: " + in + ": " + c.reason)) << r.output;
        EXPECT_LT(r.peakKb, kPeakLimitKb);
        EXPECT_FALSE(std::filesystem::exists(out));
    }
}

} // namespace
