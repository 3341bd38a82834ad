#include "media/DXWave.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

std::string ErrorOf(const std::function<void()>& F) {
  try {
    F();
  } catch (const EDXError& e) {
    return e.what();
  }
  return "";
}

void Chunk(TByteWriter& W, const char* Id, const Bytes& Body, bool Pad = true) {
  W.WriteString(Id);
  W.WriteU32(static_cast<uint32_t>(Body.size()));
  W.WriteBytes(Body);
  if (Pad && Body.size() % 2) W.WriteU8(0);
}

Bytes Riff(const std::function<void(TByteWriter&)>& Chunks) {
  TByteWriter w;
  w.WriteString("RIFF");
  w.WriteU32(0);
  w.WriteString("WAVE");
  Chunks(w);
  return std::move(w).Data();
}

// Records what an item asks of its player.
struct TRecordingPlayer : TWavePlayer {
  std::vector<std::string>& Log;
  explicit TRecordingPlayer(std::vector<std::string>& L) : Log(L) {}
  void Play(bool Wait) override { Log.push_back(Wait ? "play wait" : "play"); }
  void Stop() override { Log.push_back("stop"); }
  void DropCopies() override { Log.push_back("drop"); }
};

}  // namespace

TEST(Wave, WritesTheStoredShapeAndReadsItBack) {
  const TWave w = TWave::FromPCM(1, 22255, 8, Bytes(30166, 0x80));
  EXPECT_EQ(w.Channels(), 1);
  EXPECT_EQ(w.SamplesPerSec(), 22255);
  EXPECT_EQ(w.BitsPerSample(), 8);
  const Bytes b = w.SaveToStream();
  EXPECT_EQ(b.size(), 30210u);  // 44 bytes of headers
  EXPECT_EQ(b[4] | b[5] << 8 | b[6] << 16, 30210 - 8);
  TWave r;
  r.LoadFromStream(b);
  EXPECT_EQ(r.Format(), w.Format());
  EXPECT_EQ(r.Data(), w.Data());
  EXPECT_TRUE(TWave().SaveToStream().empty());
  r.LoadFromStream({});
  EXPECT_TRUE(r.Empty());
  TWave noFormat;
  noFormat.SetData({1, 2});
  EXPECT_EQ(ErrorOf([&] { noFormat.SaveToStream(); }), "Format is invalid");
}

TEST(Wave, ChunkWalk) {
  const Bytes fmt18 = {1, 0, 2, 0, 0x44, 0xAC, 0, 0, 0x10, 0xB1, 2, 0, 4, 0, 16, 0, 0xAA, 0xBB};
  // Format with an extension, an odd LIST chunk with its pad, odd data, trailing junk.
  const Bytes b = Riff([&](TByteWriter& W) {
    Chunk(W, "fmt ", fmt18);
    Chunk(W, "LIST", {'I', 'N', 'F'});
    Chunk(W, "data", {1, 2, 3});
    W.WriteBytes(Bytes{'x', 'y'});  // a short chunk header ends the walk
  });
  TWave w;
  w.LoadFromStream(b);
  EXPECT_EQ(w.Format(), fmt18);  // kept whole
  EXPECT_EQ(w.Channels(), 2);
  EXPECT_EQ(w.SamplesPerSec(), 44100);
  EXPECT_EQ(w.BitsPerSample(), 16);
  EXPECT_EQ(w.Data(), (Bytes{1, 2, 3}));
  const Bytes again = w.SaveToStream();
  EXPECT_EQ(again.size(), 12 + 8 + 18 + 8 + 4u);  // odd data padded
  TWave x;
  x.LoadFromStream(again);
  EXPECT_EQ(x.Data(), w.Data());
}

TEST(Wave, BadWavesRaiseAndKeepThePreviousWave) {
  struct Case {
    const char* Name;
    Bytes Data;
    const char* Message;
  };
  const std::vector<Case> cases = {
      {"short", Bytes{'R', 'I', 'F', 'F'}, "Wave is invalid"},
      {"not RIFF", Bytes{'R', 'I', 'F', 'X', 0, 0, 0, 0, 'W', 'A', 'V', 'E'}, "Wave is invalid"},
      {"not WAVE", Bytes{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'A', 'V', 'I', ' '}, "Wave is invalid"},
      {"data cut", Riff([](TByteWriter& W) {
         W.WriteString("data");
         W.WriteU32(100);
         W.WriteBytes(Bytes{1, 2});
       }),
       "Stream read error"},
      {"format cut", Riff([](TByteWriter& W) {
         W.WriteString("fmt ");
         W.WriteU32(0xFFFFFFFF);
       }),
       "Stream read error"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TWave w = TWave::FromPCM(1, 8000, 8, {7});
    EXPECT_EQ(ErrorOf([&] { w.LoadFromStream(c.Data); }), c.Message);
    EXPECT_EQ(w.Data(), Bytes{7});
  }
  // A skipped chunk claiming more than is left just ends the walk.
  TWave w;
  w.LoadFromStream(Riff([](TByteWriter& W) {
    Chunk(W, "data", {5});
    W.WriteString("junk");
    W.WriteU32(1000);
  }));
  EXPECT_EQ(w.Data(), Bytes{5});
}

TEST(WaveCollection, FindItemsAndSettings) {
  TWaveCollection c;
  c.Add().SetName("InitScene");
  c.Add().SetName("Move");
  EXPECT_EQ(c.Find("initscene").Name(), "InitScene");
  EXPECT_EQ(ErrorOf([&] { c.Find("Boom"); }), "Wave 'Boom' not found");
  EXPECT_THROW(c.Find("Boom"), EWaveCollectionError);
  EXPECT_EQ(ErrorOf([&] { c.Items(-1); }), "List index out of bounds (-1)");
  auto& move = c.Find("Move");
  move.SetMaxPlayingCount(-3);
  EXPECT_EQ(move.MaxPlayingCount(), 0);
  // Without a player every call is a silent no-op.
  EXPECT_FALSE(move.Initialized());
  move.Play(false);
  move.Stop();
  move.SetLooped(true);
  EXPECT_TRUE(move.Looped());
}

TEST(WaveCollection, ItemsDriveTheirPlayer) {
  TWaveCollection c;
  auto& item = c.Add();
  std::vector<std::string> log;
  item.AttachPlayer(std::make_unique<TRecordingPlayer>(log));
  EXPECT_TRUE(item.Initialized());
  item.Play(false);
  item.SetLooped(false);  // unchanged: nothing stops
  item.SetLooped(true);
  item.SetMaxPlayingCount(2);
  item.SetMaxPlayingCount(2);
  item.Play(true);
  item.Stop();
  EXPECT_EQ(log, (std::vector<std::string>{"play", "stop", "drop", "play wait", "stop"}));
  item.DetachPlayer();
  item.Play(false);
  EXPECT_EQ(log.size(), 5u);
}
