#include "ui/Ticket.h"

#include <gtest/gtest.h>

namespace {

const TLocalDateTime March9{2007, 3, 9, 14, 5, 7};

TEST(Ticket, PlainTicketCarriesTheStartTime) {
  for (int32_t r : {0, 7, 19}) {
    std::string text = MakeTicket(March9, r);
    auto plain = DecodeTicket(text);
    ASSERT_TRUE(plain) << text;
    EXPECT_EQ(plain->R, r);
    EXPECT_EQ(plain->TimeDigits, "070309070514");  // yy mm dd ss nn hh
    EXPECT_EQ(plain->Series, "01");
  }
}

TEST(Ticket, KnownScramble) {
  // r = 3: P1 = 2*3 + 'K' = 0x51; then P2 = '0' + 'A' + 0x51 = 0xC2, P3 = '7' + 'D' + 0x51,
  // ..., the series "01" takes the key letters 'A' and 'D' (positions 14, 15).
  std::string text = MakeTicket(March9, 3);
  EXPECT_EQ(text.substr(0, 6), "51C2CC");
  EXPECT_EQ(text.substr(26), "C2C6");
}

TEST(Ticket, AlwaysThirtyUpperHexDigits) {
  TLocalDateTime times[] = {
      {1999, 12, 31, 23, 59, 59}, {2000, 1, 1, 0, 0, 0}, March9, {2099, 6, 15, 12, 30, 45}};
  for (const auto& t : times) {
    for (int32_t r = 0; r < 20; ++r) {
      std::string text = MakeTicket(t, r);
      ASSERT_EQ(text.size(), 30u);
      for (char c : text) EXPECT_TRUE((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F')) << text;
      auto plain = DecodeTicket(text);
      ASSERT_TRUE(plain);
      EXPECT_EQ(plain->R, r);
    }
  }
  EXPECT_EQ(DecodeTicket(MakeTicket({1999, 12, 31, 23, 59, 58}, 0))->TimeDigits, "991231585923");
}

TEST(Ticket, DifferentRChangesEveryByte) {
  std::string a = MakeTicket(March9, 4), b = MakeTicket(March9, 5);
  for (size_t i = 0; i < 15; ++i) EXPECT_NE(a.substr(2 * i, 2), b.substr(2 * i, 2)) << i;
}

TEST(Ticket, FirstByteNeverWraps) {
  // 2 * 19 + 'K' stays below 256 and decodes back.
  EXPECT_EQ(MakeTicket(March9, 19).substr(0, 2), "71");
}

TEST(Ticket, DecoderRejectsWhatNoTicketCanBe) {
  std::string good = MakeTicket(March9, 1);
  EXPECT_FALSE(DecodeTicket(""));
  EXPECT_FALSE(DecodeTicket(good.substr(1)));
  EXPECT_FALSE(DecodeTicket(good + "0"));
  std::string lower = good;
  lower[3] = 'a';  // lower-case hex is not a ticket
  EXPECT_FALSE(DecodeTicket(lower));
  EXPECT_FALSE(DecodeTicket("4A" + good.substr(2)));  // below the key letter
  EXPECT_FALSE(DecodeTicket("52" + good.substr(2)));  // odd: no whole r
  EXPECT_FALSE(DecodeTicket("73" + good.substr(2)));  // r = 20
}

}  // namespace
