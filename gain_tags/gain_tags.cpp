#include "gain_tags/gain_tags.h"

#include "conv_protocol/loudness.h"

#include <taglib/asffile.h>
#include <taglib/fileref.h>
#include <taglib/flacfile.h>
#include <taglib/id3v2tag.h>
#include <taglib/mp4file.h>
#include <taglib/mpegfile.h>
#include <taglib/opusfile.h>
#include <taglib/textidentificationframe.h>
#include <taglib/tfilestream.h>
#include <taglib/vorbisfile.h>
#include <taglib/xiphcomment.h>

#include <unistd.h>

#include <memory>
#include <utility>
#include <vector>

namespace gain_tags {

namespace {

using Fields = std::vector<std::pair<std::string, std::string>>;

Fields ReplayGainFields(const GainValues& values) {
    Fields fields;
    if (values.track) {
        fields.emplace_back("REPLAYGAIN_TRACK_GAIN",
                            conv_protocol::ReplayGainText(values.track->lufs));
        fields.emplace_back("REPLAYGAIN_TRACK_PEAK", conv_protocol::PeakText(values.track->peak));
    }
    if (values.album) {
        fields.emplace_back("REPLAYGAIN_ALBUM_GAIN",
                            conv_protocol::ReplayGainText(values.album->lufs));
        fields.emplace_back("REPLAYGAIN_ALBUM_PEAK", conv_protocol::PeakText(values.album->peak));
    }
    return fields;
}

// Ogg Opus keeps its own gains, and no ReplayGain ones (RFC 7845).
Fields OpusFields(const GainValues& values) {
    Fields fields;
    if (values.track)
        fields.emplace_back("R128_TRACK_GAIN", conv_protocol::R128GainText(values.track->lufs));
    if (values.album)
        fields.emplace_back("R128_ALBUM_GAIN", conv_protocol::R128GainText(values.album->lufs));
    return fields;
}

TagLib::String Utf8(const std::string& text) {
    return TagLib::String(text, TagLib::String::UTF8);
}

void SetXiph(TagLib::Ogg::XiphComment& comment, const Fields& fields) {
    for (const auto& [key, value] : fields)
        comment.addField(Utf8(key), Utf8(value), true);
}

void SetId3v2(TagLib::ID3v2::Tag& tag, const Fields& fields) {
    for (const auto& [key, value] : fields) {
        // Readers match the description without regard to case; one frame per name.
        const TagLib::ID3v2::FrameList frames = tag.frameList("TXXX");
        for (TagLib::ID3v2::Frame* frame : frames) {
            auto* text = dynamic_cast<TagLib::ID3v2::UserTextIdentificationFrame*>(frame);
            if (text && text->description().upper() == Utf8(key))
                tag.removeFrame(text);
        }
        auto* frame = new TagLib::ID3v2::UserTextIdentificationFrame(TagLib::String::UTF8);
        frame->setDescription(Utf8(key));
        frame->setText(Utf8(value));
        tag.addFrame(frame);
    }
}

void SetMp4(TagLib::MP4::Tag& tag, const Fields& fields) {
    for (const auto& [key, value] : fields)
        tag.setItem(Utf8("----:com.apple.iTunes:" + key),
                    TagLib::MP4::Item(TagLib::StringList(Utf8(value))));
}

void SetAsf(TagLib::ASF::Tag& tag, const Fields& fields) {
    for (const auto& [key, value] : fields)
        tag.setAttribute(Utf8(key), TagLib::ASF::Attribute(Utf8(value)));
}

} // namespace

std::optional<std::string> WriteGainTags(int fd, const GainValues& values) {
    // The stream closes what it is given.
    const int own = dup(fd);
    // The stream reads from where the descriptor stands; the file is read from its start.
    if (own >= 0)
        ::lseek(own, 0, SEEK_SET);
    if (own < 0)
        return "cannot open the file again to write its gain tags";
    TagLib::FileStream stream(own, false);
    if (!stream.isOpen() || stream.readOnly()) {
        if (!stream.isOpen())
            close(own);
        return "cannot open the file again to write its gain tags";
    }
    TagLib::FileRef ref(&stream, false);
    TagLib::File* file = ref.file();
    if (!file || !file->isValid())
        return "the file's tags cannot be read to add the gain tags";

    bool saved = false;
    if (auto* opus = dynamic_cast<TagLib::Ogg::Opus::File*>(file)) {
        SetXiph(*opus->tag(), OpusFields(values));
        saved = opus->save();
    } else if (auto* vorbis = dynamic_cast<TagLib::Ogg::Vorbis::File*>(file)) {
        SetXiph(*vorbis->tag(), ReplayGainFields(values));
        saved = vorbis->save();
    } else if (auto* flac = dynamic_cast<TagLib::FLAC::File*>(file)) {
        SetXiph(*flac->xiphComment(true), ReplayGainFields(values));
        saved = flac->save();
    } else if (auto* mpeg = dynamic_cast<TagLib::MPEG::File*>(file)) {
        SetId3v2(*mpeg->ID3v2Tag(true), ReplayGainFields(values));
        // Only the ID3v2 tag is touched; the ID3v1 tag at the end stays as written.
        saved = mpeg->save(TagLib::MPEG::File::ID3v2, TagLib::File::StripNone, TagLib::ID3v2::v4,
                           TagLib::File::DoNotDuplicate);
    } else if (auto* mp4 = dynamic_cast<TagLib::MP4::File*>(file)) {
        SetMp4(*mp4->tag(), ReplayGainFields(values));
        saved = mp4->save();
    } else if (auto* asf = dynamic_cast<TagLib::ASF::File*>(file)) {
        SetAsf(*asf->tag(), ReplayGainFields(values));
        saved = asf->save();
    } else {
        return "this kind of file holds no gain tags";
    }
    if (!saved)
        return "the gain tags could not be written";
    return std::nullopt;
}

} // namespace gain_tags
