// Repair of cut-off clips: the recorder's note, finding the chunks a cut-off
// recording left, and the complete clip made from them.
#include "core/avi_repair.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t Le32(const Bytes& b, std::size_t at) {
  std::uint32_t v;
  std::memcpy(&v, b.data() + at, 4);
  return v;
}

void PutChunk(Bytes& file, const char (&id)[5], Bytes data, std::uint32_t declared = 0) {
  const std::uint32_t size = declared ? declared : static_cast<std::uint32_t>(data.size());
  const std::uint32_t fourcc = core::FourCc(id);
  file.insert(file.end(), reinterpret_cast<const std::uint8_t*>(&fourcc),
              reinterpret_cast<const std::uint8_t*>(&fourcc) + 4);
  file.insert(file.end(), reinterpret_cast<const std::uint8_t*>(&size),
              reinterpret_cast<const std::uint8_t*>(&size) + 4);
  file.insert(file.end(), data.begin(), data.end());
  if (data.size() & 1) file.push_back(0);
}

core::ClipNote VideoAndSound() {
  core::ClipNote note;
  note.clip = "C:\\Album\\Video0001.avi";
  core::AviStreamNote video;
  video.type = core::FourCc("vids");
  video.scale = 1;
  video.rate = 30;
  video.frame[2] = 4;
  video.frame[3] = 1;
  video.format = Bytes(40, 7);
  core::AviStreamNote sound;
  sound.type = core::FourCc("auds");
  sound.scale = 1;
  sound.rate = 8000;
  sound.format = Bytes(18, 3);
  note.streams = {video, sound};
  return note;
}

// What the platform's AVI service leaves when the process dies: room for
// headers it never wrote, the chunks so far, and a frame cut off mid-write.
Bytes CutOffRecording() {
  Bytes file(2048, 0);
  PutChunk(file, "00db", Bytes(12, 0x11));
  PutChunk(file, "01wb", Bytes{1, 2, 3, 4, 5});
  PutChunk(file, "00db", Bytes{});  // a frame slot left empty
  PutChunk(file, "00db", Bytes(12, 0x22));
  PutChunk(file, "00db", Bytes(5, 0x33), 12);  // torn
  return file;
}

TEST(ClipNote, ReadsBackWhatItWritesAndRefusesDamagedText) {
  const core::ClipNote note = VideoAndSound();
  const std::string text = core::FormatClipNote(note);
  auto back = core::ParseClipNote(text);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->clip, note.clip);
  ASSERT_EQ(back->streams.size(), 2u);
  EXPECT_EQ(back->streams[0].rate, 30u);
  EXPECT_EQ(back->streams[0].frame[2], 4);
  EXPECT_EQ(back->streams[1].format, note.streams[1].format);

  EXPECT_FALSE(core::ParseClipNote(""));
  EXPECT_FALSE(core::ParseClipNote("clip=x\n"));                          // no stream
  EXPECT_FALSE(core::ParseClipNote(text.substr(0, text.size() - 2)));    // format cut short
  EXPECT_FALSE(core::ParseClipNote(text + "stream=1935960438 0 1 0 0 0 0 0 0 0 aa\n"));  // rate 0
  EXPECT_FALSE(core::ParseClipNote(text + "noise\n"));
  EXPECT_FALSE(core::ParseClipNote("clip=a\r\r\n" + text.substr(text.find("stream="))));
}

TEST(ClipRepair, KeepsEveryWholeChunkOfACutOffRecordingInAPlayableClip) {
  const core::ClipNote note = VideoAndSound();
  const Bytes cut = CutOffRecording();
  core::MemorySource source(cut);
  EXPECT_FALSE(core::IsCompleteAvi(source));
  const auto chunks = core::FindRecordedChunks(source, note);
  ASSERT_EQ(chunks.size(), 4u);  // the torn frame is left out
  EXPECT_EQ(chunks[0].offset, 2048u);
  EXPECT_EQ(chunks[1].size, 5u);

  core::MemorySink sink;
  ASSERT_TRUE(core::WriteRepairedAvi(note, source, chunks, sink));
  const Bytes& clip = sink.bytes;
  core::MemorySource repaired(clip);
  EXPECT_TRUE(core::IsCompleteAvi(repaired));
  EXPECT_EQ(Le32(clip, 4) + 8u, clip.size());
  EXPECT_EQ(Le32(clip, 32 + 16), 3u);  // avih: total frames, empty slot included

  // The repaired clip holds the same chunks with the same bytes, and its
  // index points at each of them from the 'movi' type.
  const auto again = core::FindRecordedChunks(repaired, note);
  ASSERT_EQ(again.size(), chunks.size());
  const std::size_t movi = std::string(clip.begin(), clip.end()).find("movi");
  const std::size_t index = clip.size() - 16 * chunks.size();
  EXPECT_EQ(Le32(clip, index - 8), core::FourCc("idx1"));
  for (std::size_t i = 0; i < chunks.size(); ++i) {
    EXPECT_EQ(again[i].id, chunks[i].id);
    ASSERT_EQ(again[i].size, chunks[i].size);
    EXPECT_TRUE(std::equal(cut.begin() + chunks[i].offset, cut.begin() + chunks[i].offset + 8 +
                                                               chunks[i].size,
                           clip.begin() + again[i].offset));
    EXPECT_EQ(Le32(clip, index + 16 * i + 8) + movi, again[i].offset);
  }

  // Cut again inside its index: the chunks are found from its movie list.
  const Bytes torn(clip.begin(), clip.end() - 10);
  core::MemorySource tornSource(torn);
  EXPECT_FALSE(core::IsCompleteAvi(tornSource));
  EXPECT_EQ(core::FindRecordedChunks(tornSource, note).size(), chunks.size());
}

TEST(ClipRepair, FindsNothingToKeepInFilesWithoutWholeChunks) {
  const core::ClipNote note = VideoAndSound();
  for (Bytes file : {Bytes{}, Bytes(4096, 0), Bytes(4096, 0x30)}) {
    core::MemorySource source(file);
    EXPECT_FALSE(core::IsCompleteAvi(source));
    const auto chunks = core::FindRecordedChunks(source, note);
    EXPECT_TRUE(chunks.empty());
    core::MemorySink sink;
    EXPECT_FALSE(core::WriteRepairedAvi(note, source, chunks, sink));
  }
  // A chunk of a stream the note does not have, or sound in the video slot.
  Bytes file(2048, 0);
  PutChunk(file, "02wb", Bytes(4, 1));
  PutChunk(file, "00wb", Bytes(4, 1));
  core::MemorySource source(file);
  EXPECT_TRUE(core::FindRecordedChunks(source, note).empty());
}

}  // namespace
