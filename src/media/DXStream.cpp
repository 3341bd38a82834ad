#include "media/DXStream.h"

#include <algorithm>

namespace {

// Deeper nesting than this is no file anyone made; it would only exhaust the stack.
constexpr int kMaxDepth = 64;

[[noreturn]] void InvalidValue() {
  throw EPropertyError("Invalid property value");
}
[[noreturn]] void InvalidFormat() {
  throw EReadError("Invalid stream format");
}

// 8-bit text from UTF-16 or UTF-8: ASCII as it is, anything else as '?'.
std::string FromUTF16(std::span<const uint8_t> B) {
  std::string s;
  for (size_t i = 0; i + 1 < B.size(); i += 2) {
    const uint16_t c = static_cast<uint16_t>(B[i] | (B[i + 1] << 8));
    if (c >= 0xDC00 && c < 0xE000) continue;  // low half of a pair: its high half gave the '?'
    s.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  }
  return s;
}

std::string FromUTF8(std::span<const uint8_t> B) {
  std::string s;
  for (uint8_t b : B) {
    if (b < 0x80) {
      s.push_back(static_cast<char>(b));
    } else if (b >= 0xC0) {
      s.push_back('?');  // lead byte; continuation bytes add nothing
    }
  }
  return s;
}

}  // namespace

void TComponentReader::ReadSignature() {
  if (FIn.Remaining() < 4) InvalidFormat();
  auto sig = FIn.ReadBytes(4);
  if (!std::equal(sig.begin(), sig.end(), "TPF0")) InvalidFormat();
}

TValueType TComponentReader::NextValue() {
  auto rest = FIn.Rest();
  if (rest.empty()) throw EReadError("Stream read error");
  return static_cast<TValueType>(rest[0]);
}

TValueType TComponentReader::ReadValue() {
  return static_cast<TValueType>(FIn.ReadU8());
}

void TComponentReader::CheckValue(TValueType Expected) {
  if (ReadValue() != Expected) InvalidValue();
}

void TComponentReader::ReadListEnd() {
  CheckValue(TValueType::vaNull);
}

std::string TComponentReader::ReadStr() {
  const uint8_t n = FIn.ReadU8();
  auto b = FIn.ReadBytes(n);
  return std::string(b.begin(), b.end());
}

int32_t TComponentReader::ReadInteger() {
  switch (ReadValue()) {
    case TValueType::vaInt8:
      return FIn.ReadI8();
    case TValueType::vaInt16:
      return FIn.ReadI16();
    case TValueType::vaInt32:
      return FIn.ReadI32();
    default:
      InvalidValue();
  }
}

bool TComponentReader::ReadBoolean() {
  switch (ReadValue()) {
    case TValueType::vaFalse:
      return false;
    case TValueType::vaTrue:
      return true;
    default:
      InvalidValue();
  }
}

std::string TComponentReader::ReadString() {
  switch (ReadValue()) {
    case TValueType::vaString:
      return ReadStr();
    case TValueType::vaLString: {
      auto b = FIn.ReadBytes(FIn.ReadU32());
      return std::string(b.begin(), b.end());
    }
    case TValueType::vaWString: {
      const uint32_t n = FIn.ReadU32();
      if (n > FIn.Remaining() / 2) throw EReadError("Stream read error");
      return FromUTF16(FIn.ReadBytes(size_t{n} * 2));
    }
    case TValueType::vaUTF8String:
      return FromUTF8(FIn.ReadBytes(FIn.ReadU32()));
    default:
      InvalidValue();
  }
}

std::string TComponentReader::ReadIdent() {
  CheckValue(TValueType::vaIdent);
  return ReadStr();
}

std::span<const uint8_t> TComponentReader::ReadBinary() {
  CheckValue(TValueType::vaBinary);
  return FIn.ReadBytes(FIn.ReadU32());
}

void TComponentReader::SkipValue() {
  SkipValue(0);
}

void TComponentReader::SkipValue(int Depth) {
  if (Depth > kMaxDepth) InvalidFormat();
  switch (ReadValue()) {
    case TValueType::vaNull:
    case TValueType::vaFalse:
    case TValueType::vaTrue:
    case TValueType::vaNil:
      return;
    case TValueType::vaList:
      while (!EndOfList()) SkipValue(Depth + 1);
      ReadListEnd();
      return;
    case TValueType::vaInt8:
      FIn.Skip(1);
      return;
    case TValueType::vaInt16:
      FIn.Skip(2);
      return;
    case TValueType::vaInt32:
    case TValueType::vaSingle:
      FIn.Skip(4);
      return;
    case TValueType::vaExtended:
      FIn.Skip(10);
      return;
    case TValueType::vaCurrency:
    case TValueType::vaDate:
    case TValueType::vaInt64:
      FIn.Skip(8);
      return;
    case TValueType::vaString:
    case TValueType::vaIdent:
      ReadStr();
      return;
    case TValueType::vaBinary:
    case TValueType::vaLString:
    case TValueType::vaUTF8String:
      FIn.Skip(FIn.ReadU32());
      return;
    case TValueType::vaWString: {
      const uint32_t n = FIn.ReadU32();
      if (n > FIn.Remaining() / 2) throw EReadError("Stream read error");
      FIn.Skip(size_t{n} * 2);
      return;
    }
    case TValueType::vaSet:
      while (!ReadStr().empty()) {
      }
      return;
    case TValueType::vaCollection:
      while (!EndOfList()) {
        const auto t = NextValue();
        if (t == TValueType::vaInt8 || t == TValueType::vaInt16 || t == TValueType::vaInt32) {
          ReadInteger();
        }
        CheckValue(TValueType::vaList);
        while (!EndOfList()) {
          ReadStr();
          SkipValue(Depth + 1);
        }
        ReadListEnd();
      }
      ReadListEnd();
      return;
    default:
      InvalidValue();
  }
}

void TComponentReader::ReadPrefix() {
  const uint8_t b = static_cast<uint8_t>(NextValue());
  if ((b & 0xF0) != 0xF0) return;
  FIn.ReadU8();
  if (b & 0x02) ReadInteger();  // child position
}

void TComponentReader::SkipObject(int Depth) {
  if (Depth > kMaxDepth) InvalidFormat();
  ReadPrefix();
  ReadStr();
  ReadStr();
  while (!EndOfList()) {
    ReadStr();
    SkipValue(Depth + 1);
  }
  ReadListEnd();
  while (!EndOfList()) SkipObject(Depth + 1);
  ReadListEnd();
}

void TComponentReader::ReadRootObject(const TPropertyReader& ReadProperty) {
  ReadPrefix();
  const std::string className = ReadStr();
  const std::string objectName = ReadStr();
  while (!EndOfList()) {
    const std::string path = ReadStr();
    try {
      ReadProperty(*this, path);
    } catch (const EDXError& e) {
      throw EReadError(Format("Error reading %s%s%s: %s",
                              (objectName.empty() ? className : objectName).c_str(), ".",
                              path.c_str(), e.what()));
    }
  }
  ReadListEnd();
  while (!EndOfList()) SkipObject(1);
  ReadListEnd();
}

void TComponentReader::ReadCollection(const std::function<void()>& Clear,
                                      const std::function<TPropertyReader()>& Add) {
  CheckValue(TValueType::vaCollection);
  if (!EndOfList()) Clear();
  while (!EndOfList()) {
    const auto t = NextValue();
    if (t == TValueType::vaInt8 || t == TValueType::vaInt16 || t == TValueType::vaInt32) {
      ReadInteger();  // ordering value, not used
    }
    CheckValue(TValueType::vaList);
    const TPropertyReader item = Add();
    while (!EndOfList()) {
      const std::string path = ReadStr();
      item(*this, path);
    }
    ReadListEnd();
  }
  ReadListEnd();
}

void TComponentWriter::WriteStr(std::string_view S) {
  if (S.size() > 255) throw EDXError("Invalid property value");
  FOut.WriteU8(static_cast<uint8_t>(S.size()));
  FOut.WriteString(S);
}

void TComponentWriter::WriteInteger(int64_t V) {
  if (V >= INT8_MIN && V <= INT8_MAX) {
    WriteValue(TValueType::vaInt8);
    FOut.WriteU8(static_cast<uint8_t>(V));
  } else if (V >= INT16_MIN && V <= INT16_MAX) {
    WriteValue(TValueType::vaInt16);
    FOut.WriteU16(static_cast<uint16_t>(V));
  } else if (V >= INT32_MIN && V <= INT32_MAX) {
    WriteValue(TValueType::vaInt32);
    FOut.WriteU32(static_cast<uint32_t>(V));
  } else {
    WriteValue(TValueType::vaInt64);
    FOut.WriteU64(static_cast<uint64_t>(V));
  }
}

void TComponentWriter::WriteBoolean(bool V) {
  WriteValue(V ? TValueType::vaTrue : TValueType::vaFalse);
}

void TComponentWriter::WriteString(std::string_view S) {
  if (S.size() <= 255) {
    WriteValue(TValueType::vaString);
    WriteStr(S);
  } else {
    WriteValue(TValueType::vaLString);
    FOut.WriteU32(static_cast<uint32_t>(S.size()));
    FOut.WriteString(S);
  }
}

void TComponentWriter::WriteIdent(std::string_view S) {
  WriteValue(TValueType::vaIdent);
  WriteStr(S);
}

void TComponentWriter::WriteBinary(std::span<const uint8_t> Bytes) {
  WriteValue(TValueType::vaBinary);
  FOut.WriteU32(static_cast<uint32_t>(Bytes.size()));
  FOut.WriteBytes(Bytes);
}

size_t ReadResourceHeader(std::span<const uint8_t> Data) {
  // The header is at most 79 bytes: 3, a name of up to 63 characters and its NUL, 6.
  const auto head = Data.first(std::min<size_t>(Data.size(), 79));
  if (head.size() < 3 || head[0] != 0xFF || head[1] != 10 || head[2] != 0) InvalidFormat();
  const auto nul = std::find(head.begin() + 3, head.end(), uint8_t{0});
  if (nul == head.end()) InvalidFormat();
  const size_t n = static_cast<size_t>(nul - (head.begin() + 3));
  if (10 + n > Data.size()) throw EReadError("Stream read error");
  return 10 + n;
}

std::vector<uint8_t> WriteResource(std::string_view Name, std::span<const uint8_t> Stream) {
  TByteWriter w;
  w.WriteU8(0xFF);
  w.WriteU16(10);
  for (char c : Name.substr(0, 63)) {
    w.WriteU8(static_cast<uint8_t>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c));
  }
  w.WriteU8(0);
  w.WriteU16(0x1030);
  w.WriteU32(static_cast<uint32_t>(Stream.size()));
  w.WriteBytes(Stream);
  return std::move(w).Data();
}
