// A canvas that records what is drawn on it, with the settings in force at each call.
#pragma once

#include <string>
#include <vector>

#include "media/Canvas.h"

class TRecordingCanvas : public TCanvas {
 public:
  enum class TOp { Text, MoveTo, LineTo, Ellipse, Release };
  struct TCall {
    TOp Op;
    int32_t X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
    std::string Text;
    TFont Font;
    TPen Pen;
    TBrushStyle Brush = TBrushStyle::Solid;
  };
  std::vector<TCall> Calls;

  void TextOut(int32_t X, int32_t Y, const std::string& Text) override {
    Record(TOp::Text, X, Y, 0, 0, Text);
  }
  void MoveTo(int32_t X, int32_t Y) override { Record(TOp::MoveTo, X, Y, 0, 0); }
  void LineTo(int32_t X, int32_t Y) override { Record(TOp::LineTo, X, Y, 0, 0); }
  void Ellipse(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) override {
    Record(TOp::Ellipse, X1, Y1, X2, Y2);
  }
  void Release() override { Record(TOp::Release, 0, 0, 0, 0); }

  std::vector<TCall> Texts() const {
    std::vector<TCall> texts;
    for (const auto& c : Calls)
      if (c.Op == TOp::Text) texts.push_back(c);
    return texts;
  }

 private:
  void Record(TOp Op, int32_t X1, int32_t Y1, int32_t X2, int32_t Y2, std::string Text = {}) {
    Calls.push_back({Op, X1, Y1, X2, Y2, std::move(Text), Font, Pen, Brush.Style});
  }
};
