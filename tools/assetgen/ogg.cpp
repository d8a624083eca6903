// libvorbisenc in its usual analysis loop; nothing time- or random-based
// goes in, so the same samples always give the same file.
#include "ogg.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>

namespace assetgen {

namespace {

void Drain(ogg_stream_state& stream, std::vector<uint8_t>& out, bool flush) {
  ogg_page page;
  while (flush ? ogg_stream_flush(&stream, &page) : ogg_stream_pageout(&stream, &page)) {
    out.insert(out.end(), page.header, page.header + page.header_len);
    out.insert(out.end(), page.body, page.body + page.body_len);
  }
}

}  // namespace

std::vector<uint8_t> EncodeOgg(const std::vector<float>& interleaved, int channels, int rate, float quality,
                               int serial) {
  std::vector<uint8_t> out;
  vorbis_info info;
  vorbis_info_init(&info);
  if (vorbis_encode_init_vbr(&info, channels, rate, quality) != 0) {
    vorbis_info_clear(&info);
    return out;
  }
  vorbis_comment comment;
  vorbis_comment_init(&comment);
  vorbis_comment_add_tag(&comment, "ENCODER", "larkspin_assetgen");
  vorbis_dsp_state dsp;
  vorbis_block block;
  vorbis_analysis_init(&dsp, &info);
  vorbis_block_init(&dsp, &block);
  ogg_stream_state stream;
  ogg_stream_init(&stream, serial);

  ogg_packet header, headerComment, headerCode;
  vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
  ogg_stream_packetin(&stream, &header);
  ogg_stream_packetin(&stream, &headerComment);
  ogg_stream_packetin(&stream, &headerCode);
  Drain(stream, out, true);  // audio starts on a fresh page, as players expect

  auto pump = [&] {
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
      vorbis_analysis(&block, nullptr);
      vorbis_bitrate_addblock(&block);
      ogg_packet packet;
      while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
        ogg_stream_packetin(&stream, &packet);
        Drain(stream, out, false);
      }
    }
  };
  const long frames = static_cast<long>(interleaved.size() / channels);
  const long chunk = 4096;
  for (long done = 0; done < frames; done += chunk) {
    long n = std::min(chunk, frames - done);
    float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(n));
    for (long i = 0; i < n; ++i)
      for (int c = 0; c < channels; ++c) buffer[c][i] = interleaved[(done + i) * channels + c];
    vorbis_analysis_wrote(&dsp, static_cast<int>(n));
    pump();
  }
  vorbis_analysis_wrote(&dsp, 0);  // end of stream
  pump();
  Drain(stream, out, true);

  ogg_stream_clear(&stream);
  vorbis_block_clear(&block);
  vorbis_dsp_clear(&dsp);
  vorbis_comment_clear(&comment);
  vorbis_info_clear(&info);
  return out;
}

}  // namespace assetgen
