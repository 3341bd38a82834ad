// The component stream that image-list files and form data are made of: a resource header,
// the "TPF0" signature, objects with (dotted) properties, tagged values and collections.
// Reading is bounded by the input: lengths are checked before use and nesting is limited.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "media/DXClass.h"

enum class TValueType : uint8_t {
  vaNull = 0,
  vaList = 1,
  vaInt8 = 2,
  vaInt16 = 3,
  vaInt32 = 4,
  vaExtended = 5,
  vaString = 6,
  vaIdent = 7,
  vaFalse = 8,
  vaTrue = 9,
  vaBinary = 10,
  vaSet = 11,
  vaLString = 12,
  vaNil = 13,
  vaCollection = 14,
  vaSingle = 15,
  vaCurrency = 16,
  vaDate = 17,
  vaWString = 18,
  vaInt64 = 19,
  vaUTF8String = 20,
};

class TComponentReader {
 public:
  explicit TComponentReader(std::span<const uint8_t> Data) : FIn(Data) {}

  // "TPF0", else "Invalid stream format".
  void ReadSignature();
  TValueType NextValue();  // the next tag, not consumed
  TValueType ReadValue();  // the next tag
  bool EndOfList() { return NextValue() == TValueType::vaNull; }
  void ReadListEnd();  // a 0 byte, else "Invalid property value"
  void CheckValue(TValueType Expected);

  std::string ReadStr();  // a bare short string: names
  // Typed values; a value of another kind raises EPropertyError "Invalid property value".
  int32_t ReadInteger();
  bool ReadBoolean();
  std::string ReadString();  // short, long, wide or UTF-8 string, as 8-bit text
  std::string ReadIdent();
  std::span<const uint8_t> ReadBinary();
  // Any value, nested lists, sets and collections included.
  void SkipValue();

  // The root object after the signature: prefix, class and object name, its properties
  // (each given to ReadProperty with its dotted path; an error there is re-raised as
  // "Error reading %s%s%s: %s"), then its child objects, which are skipped.
  using TPropertyReader = std::function<void(TComponentReader&, const std::string& Path)>;
  void ReadRootObject(const TPropertyReader& ReadProperty);

  // A collection value: the tag, then items (an optional ordering integer, a list of
  // properties). Clear runs when there is at least one item; Add makes the next item and
  // returns the reader of its properties.
  void ReadCollection(const std::function<void()>& Clear,
                      const std::function<TPropertyReader()>& Add);

  TByteReader& Bytes() { return FIn; }

 private:
  void SkipValue(int Depth);
  void SkipObject(int Depth);
  void ReadPrefix();
  TByteReader FIn;
};

class TComponentWriter {
 public:
  void WriteSignature() { FOut.WriteString("TPF0"); }
  void WriteStr(std::string_view S);  // short string, at most 255 bytes
  void WriteInteger(int64_t V);       // the smallest integer tag that holds V
  void WriteBoolean(bool V);
  void WriteString(std::string_view S);  // short or long string by length
  void WriteIdent(std::string_view S);
  void WriteBinary(std::span<const uint8_t> Bytes);
  void WriteValue(TValueType T) { FOut.WriteU8(static_cast<uint8_t>(T)); }
  void WriteListEnd() { FOut.WriteU8(0); }
  TByteWriter& Bytes() { return FOut; }

 private:
  TByteWriter FOut;
};

// The resource header in front of a stored component: returns the offset of the stream.
// A header not starting with 0xFF and resource type 10 raises "Invalid stream format".
size_t ReadResourceHeader(std::span<const uint8_t> Data);
// 0xFF, type 10, the name upper-cased (at most 63 characters), flags 0x1030, stream length.
std::vector<uint8_t> WriteResource(std::string_view Name, std::span<const uint8_t> Stream);
