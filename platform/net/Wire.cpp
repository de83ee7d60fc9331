#include "net/Wire.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>

namespace net {
namespace {

using automation::CallArgs;
using automation::InvokeKind;
using automation::Variant;
using automation::VariantArray;
using automation::VarType;

constexpr char kMagic0 = 'Q';
constexpr char kMagic1 = 'Z';

enum Tag : uint8_t {
  kEmpty = 0,
  kNull = 1,
  kInteger = 2,
  kDouble = 3,
  kBoolean = 4,
  kDate = 5,
  kAnsi = 6,
  kWide = 7,
  kArray = 8,
};

constexpr uint8_t kByRefFlag = 1;
constexpr uint8_t kClosingFlag = 1;
// A fault message is cut to this many bytes, so that a fault always fits in any sensible limit.
constexpr size_t kMaxFaultText = 4096;

[[noreturn]] void Malformed(const std::string& what) {
  throw WireError(WireFault::Malformed, "Malformed frame: " + what);
}

// ---------------------------------------------------------------------------------------------
// Encoding

class Writer {
 public:
  Writer(std::string& out, const WireLimits& limits) : out_(out), limits_(limits) {}

  void U8(uint8_t v) { out_.push_back(static_cast<char>(v)); }
  void U32(uint32_t v) {
    char b[4] = {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                 static_cast<char>(v >> 24)};
    out_.append(b, 4);
  }
  void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
  void F64(double v) {
    const uint64_t bits = std::bit_cast<uint64_t>(v);
    U32(static_cast<uint32_t>(bits));
    U32(static_cast<uint32_t>(bits >> 32));
  }
  void Text(std::string_view text) {
    U32(CountOf(text.size(), "text"));
    out_.append(text);
  }
  void Wide(std::u16string_view text) {
    U32(CountOf(text.size(), "wide text"));
    for (char16_t c : text) {
      U8(static_cast<uint8_t>(c));
      U8(static_cast<uint8_t>(c >> 8));
    }
  }

  void Value(const Variant& v, int depth) {
    switch (v.Type()) {
      case VarType::Empty:
        U8(kEmpty);
        return;
      case VarType::Null:
        U8(kNull);
        return;
      case VarType::Integer:
        U8(kInteger);
        I32(v.AsInteger());
        return;
      case VarType::Double:
        U8(kDouble);
        F64(v.AsDouble());
        return;
      case VarType::Boolean:
        U8(kBoolean);
        U8(v.AsBoolean() ? 1 : 0);
        return;
      case VarType::Date:
        U8(kDate);
        F64(v.AsDate());
        return;
      case VarType::AnsiString:
        U8(kAnsi);
        Text(v.AsAnsi());
        return;
      case VarType::WideString:
        U8(kWide);
        Wide(v.AsWide());
        return;
      case VarType::Array:
        Array(v.Array(), depth + 1);
        return;
      case VarType::Dispatch:
        throw automation::Error("an automation object cannot travel over a socket connection");
    }
    throw automation::Error("a value of an unknown type cannot travel over a socket connection");
  }

 private:
  void Array(const VariantArray& a, int depth) {
    if (depth > limits_.maxDepth)
      throw automation::Error("arrays nested deeper than " + std::to_string(limits_.maxDepth) +
                              " levels cannot travel over a socket connection");
    elements_ += a.Elements().size();
    if (elements_ > limits_.maxElements)
      throw WireError(WireFault::TooLong, "more than " + std::to_string(limits_.maxElements) +
                                              " array elements cannot travel in one call");
    U8(kArray);
    U8(static_cast<uint8_t>(a.DimCount()));
    for (const automation::ArrayBound& b : a.Bounds()) {
      I32(b.low);
      I32(b.high);
    }
    for (const Variant& e : a.Elements()) Value(e, depth);
  }

  uint32_t CountOf(size_t n, const char* what) {
    if (n > limits_.maxFrameBytes)
      throw WireError(WireFault::TooLong, std::string("a ") + what + " of " + std::to_string(n) +
                                              " units is too long for one frame");
    return static_cast<uint32_t>(n);
  }

  std::string& out_;
  const WireLimits& limits_;
  size_t elements_ = 0;
};

// A frame is built in place: header room first, payload after, header filled in at the end.
std::string BeginFrame() {
  return std::string(kFrameHeaderSize, '\0');
}

std::string FinishFrame(std::string frame, FrameKind kind, uint32_t sequence,
                        const WireLimits& limits) {
  const size_t length = frame.size() - kFrameHeaderSize;
  if (length > limits.maxFrameBytes)
    throw WireError(WireFault::TooLong, "A frame of " + std::to_string(length) +
                                            " bytes exceeds the limit of " +
                                            std::to_string(limits.maxFrameBytes) + " bytes");
  std::string header;
  Writer w(header, limits);
  w.U8(static_cast<uint8_t>(kMagic0));
  w.U8(static_cast<uint8_t>(kMagic1));
  w.U8(kWireVersion);
  w.U8(static_cast<uint8_t>(kind));
  w.U32(static_cast<uint32_t>(length));
  w.U32(sequence);
  frame.replace(0, kFrameHeaderSize, header);
  return frame;
}

std::string ArgumentError(size_t index, std::string_view name, const char* what) {
  return "Argument " + std::to_string(index + 1) + " of '" + std::string(name) + "' " + what;
}

// ---------------------------------------------------------------------------------------------
// Decoding

class Reader {
 public:
  Reader(std::string_view data, const WireLimits& limits) : data_(data), limits_(limits) {}

  size_t Left() const { return data_.size() - pos_; }

  uint8_t U8() {
    Need(1, "a byte");
    return static_cast<uint8_t>(data_[pos_++]);
  }
  uint32_t U32() {
    Need(4, "a number");
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(data_[pos_ + i]);
    pos_ += 4;
    return v;
  }
  int32_t I32() { return static_cast<int32_t>(U32()); }
  double F64() {
    const uint64_t lo = U32();
    const uint64_t hi = U32();
    return std::bit_cast<double>(lo | (hi << 32));
  }
  std::string_view Bytes(size_t n, const char* what) {
    Need(n, what);
    std::string_view s = data_.substr(pos_, n);
    pos_ += n;
    return s;
  }
  std::string Text(const char* what) {
    const uint32_t n = U32();
    return std::string(Bytes(n, what));
  }

  Variant Value(int depth) {
    const uint8_t tag = U8();
    switch (tag) {
      case kEmpty:
        return Variant();
      case kNull:
        return Variant::Null();
      case kInteger:
        return Variant(static_cast<int>(I32()));
      case kDouble:
        return Variant(F64());
      case kBoolean: {
        const uint8_t b = U8();
        if (b > 1) Malformed("boolean value " + std::to_string(b));
        return Variant(b == 1);
      }
      case kDate:
        return Variant::FromDate(F64());
      case kAnsi:
        return Variant(Text("8-bit text"));
      case kWide: {
        const uint32_t n = U32();
        if (n > Left() / 2) Malformed("wide text of " + std::to_string(n) + " units is truncated");
        std::string_view b = Bytes(size_t{n} * 2, "wide text");
        std::u16string s(n, u'\0');
        for (size_t i = 0; i < n; ++i)
          s[i] = static_cast<char16_t>(static_cast<uint8_t>(b[2 * i]) |
                                       (static_cast<uint8_t>(b[2 * i + 1]) << 8));
        return Variant(std::move(s));
      }
      case kArray:
        return Array(depth + 1);
      default:
        Malformed("unknown value tag " + std::to_string(tag));
    }
  }

  void Finish() {
    if (Left() != 0) Malformed(std::to_string(Left()) + " bytes left over");
  }

 private:
  void Need(size_t n, const char* what) {
    if (n > Left()) Malformed(std::string(what) + " is truncated");
  }

  Variant Array(int depth) {
    if (depth > limits_.maxDepth)
      Malformed("arrays nested deeper than " + std::to_string(limits_.maxDepth) + " levels");
    const uint8_t dims = U8();
    if (dims != 1 && dims != 2) Malformed("array of " + std::to_string(dims) + " dimensions");
    std::vector<automation::ArrayBound> bounds;
    uint64_t count = 1;
    for (int d = 0; d < dims; ++d) {
      const int32_t low = I32();
      const int32_t high = I32();
      const int64_t n = int64_t{high} - int64_t{low} + 1;
      if (n < 0 || n > std::numeric_limits<int32_t>::max())
        Malformed("array bounds " + std::to_string(low) + ".." + std::to_string(high));
      bounds.push_back({low, high});
      count *= static_cast<uint64_t>(n);  // at most 2^62, no overflow
    }
    // Every element takes at least its tag byte, so a count beyond the bytes left is a lie; it
    // is refused before the elements are allocated.
    if (count > Left())
      Malformed("array of " + std::to_string(count) + " elements in " + std::to_string(Left()) +
                " bytes");
    elements_ += count;
    if (elements_ > limits_.maxElements)
      Malformed("more than " + std::to_string(limits_.maxElements) + " array elements");
    VariantArray a(std::move(bounds));
    for (Variant& e : a.Elements()) e = Value(depth);
    return Variant(std::move(a));
  }

  std::string_view data_;
  const WireLimits& limits_;
  size_t pos_ = 0;
  uint64_t elements_ = 0;
};

}  // namespace

// ---------------------------------------------------------------------------------------------

FrameHeader DecodeHeader(std::string_view bytes, const WireLimits& limits) {
  if (bytes.size() < kFrameHeaderSize)
    throw WireError(WireFault::Malformed, "Malformed frame: the header is truncated");
  if (bytes[0] != kMagic0 || bytes[1] != kMagic1)
    throw WireError(WireFault::BadMagic, "Not a frame of the socket connection");
  Reader r(bytes.substr(2, kFrameHeaderSize - 2), limits);
  FrameHeader h;
  h.version = r.U8();
  if (h.version != kWireVersion)
    throw WireError(WireFault::BadVersion, "Unsupported frame version " +
                                               std::to_string(h.version) + " (this side speaks " +
                                               std::to_string(kWireVersion) + ")");
  const uint8_t kind = r.U8();
  if (kind < static_cast<uint8_t>(FrameKind::Open) || kind > static_cast<uint8_t>(FrameKind::Fault))
    throw WireError(WireFault::Malformed, "Malformed frame: unknown kind " + std::to_string(kind));
  h.kind = static_cast<FrameKind>(kind);
  h.length = r.U32();
  if (h.length > limits.maxFrameBytes)
    throw WireError(WireFault::TooLong, "A frame of " + std::to_string(h.length) +
                                            " bytes exceeds the limit of " +
                                            std::to_string(limits.maxFrameBytes) + " bytes");
  h.sequence = r.U32();
  return h;
}

std::string OpenFrame(uint32_t sequence, std::string_view serverName, const WireLimits& limits) {
  std::string f = BeginFrame();
  Writer(f, limits).Text(serverName);
  return FinishFrame(std::move(f), FrameKind::Open, sequence, limits);
}

std::string OpenedFrame(uint32_t sequence) {
  return FinishFrame(BeginFrame(), FrameKind::Opened, sequence, WireLimits{});
}

std::string CallFrame(uint32_t sequence, std::string_view name, InvokeKind kind, CallArgs args,
                      const WireLimits& limits) {
  std::string f = BeginFrame();
  Writer w(f, limits);
  w.Text(name);
  w.U8(static_cast<uint8_t>(kind));
  w.U32(static_cast<uint32_t>(args.Count()));
  for (size_t i = 0; i < args.Count(); ++i) {
    w.U8(args.IsByRef(i) ? kByRefFlag : 0);
    try {
      w.Value(args.values[i], 0);
    } catch (const WireError&) {
      throw;
    } catch (const automation::Error& e) {
      throw automation::Error(ArgumentError(i, name, "cannot be sent: ") + e.what());
    }
  }
  return FinishFrame(std::move(f), FrameKind::Call, sequence, limits);
}

std::string ReturnFrame(uint32_t sequence, const Variant& result, CallArgs args,
                        const WireLimits& limits) {
  std::string f = BeginFrame();
  Writer w(f, limits);
  w.Value(result, 0);
  uint32_t written = 0;
  for (size_t i = 0; i < args.Count(); ++i) written += args.IsByRef(i) ? 1 : 0;
  w.U32(written);
  for (size_t i = 0; i < args.Count(); ++i) {
    if (!args.IsByRef(i)) continue;
    w.U32(static_cast<uint32_t>(i));
    w.Value(args.values[i], 0);
  }
  return FinishFrame(std::move(f), FrameKind::Return, sequence, limits);
}

std::string FaultFrame(uint32_t sequence, std::string_view message, bool closing,
                       const WireLimits& limits) {
  WireLimits roomy = limits;
  roomy.maxFrameBytes = std::max<uint32_t>(limits.maxFrameBytes, kMaxFaultText + 5);
  std::string f = BeginFrame();
  Writer w(f, roomy);
  w.Text(message.substr(0, kMaxFaultText));
  w.U8(closing ? kClosingFlag : 0);
  return FinishFrame(std::move(f), FrameKind::Fault, sequence, roomy);
}

automation::CallArgs CallMessage::Args() {
  return CallArgs{std::span<Variant>(args), std::span<const bool>(byRef.get(), args.size())};
}

std::string DecodeOpen(std::string_view payload, const WireLimits& limits) {
  Reader r(payload, limits);
  std::string name = r.Text("server name");
  r.Finish();
  return name;
}

CallMessage DecodeCall(std::string_view payload, const WireLimits& limits) {
  Reader r(payload, limits);
  CallMessage m;
  m.name = r.Text("member name");
  const uint8_t kind = r.U8();
  if (kind > static_cast<uint8_t>(InvokeKind::PropertyPut))
    Malformed("unknown call kind " + std::to_string(kind));
  m.kind = static_cast<InvokeKind>(kind);
  const uint32_t count = r.U32();
  // An argument is at least a flag byte and a tag byte.
  if (count > r.Left() / 2)
    Malformed(std::to_string(count) + " arguments in " + std::to_string(r.Left()) + " bytes");
  m.args.reserve(count);
  m.byRef = std::make_unique<bool[]>(count);
  for (uint32_t i = 0; i < count; ++i) {
    const uint8_t flags = r.U8();
    if (flags & ~kByRefFlag) Malformed("argument flags " + std::to_string(flags));
    m.byRef[i] = (flags & kByRefFlag) != 0;
    m.args.push_back(r.Value(0));
  }
  r.Finish();
  return m;
}

ReturnMessage DecodeReturn(std::string_view payload, const WireLimits& limits) {
  Reader r(payload, limits);
  ReturnMessage m;
  m.result = r.Value(0);
  const uint32_t count = r.U32();
  // A written argument is at least its index and a tag byte.
  if (count > r.Left() / 5)
    Malformed(std::to_string(count) + " written arguments in " + std::to_string(r.Left()) +
              " bytes");
  m.written.reserve(count);
  for (uint32_t i = 0; i < count; ++i) {
    const uint32_t index = r.U32();
    if (!m.written.empty() && index <= m.written.back().first)
      Malformed("written argument " + std::to_string(index) + " out of order");
    m.written.emplace_back(index, r.Value(0));
  }
  r.Finish();
  return m;
}

FaultMessage DecodeFault(std::string_view payload, const WireLimits& limits) {
  Reader r(payload, limits);
  FaultMessage m;
  m.message = r.Text("fault message");
  const uint8_t flags = r.U8();
  if (flags & ~kClosingFlag) Malformed("fault flags " + std::to_string(flags));
  m.closing = (flags & kClosingFlag) != 0;
  r.Finish();
  return m;
}

std::string EncodeVariant(const Variant& value, const WireLimits& limits) {
  std::string out;
  Writer(out, limits).Value(value, 0);
  return out;
}

Variant DecodeVariant(std::string_view bytes, const WireLimits& limits) {
  Reader r(bytes, limits);
  Variant v = r.Value(0);
  r.Finish();
  return v;
}

std::optional<FrameView> SplitFrame(std::string_view bytes, const WireLimits& limits,
                                    size_t& consumed) {
  consumed = 0;
  if (bytes.size() < kFrameHeaderSize) {
    // A wrong start is refused as soon as it shows, not only once a whole header arrived.
    if ((!bytes.empty() && bytes[0] != kMagic0) || (bytes.size() > 1 && bytes[1] != kMagic1))
      throw WireError(WireFault::BadMagic, "Not a frame of the socket connection");
    return std::nullopt;
  }
  const FrameHeader h = DecodeHeader(bytes, limits);
  if (bytes.size() - kFrameHeaderSize < h.length) return std::nullopt;
  consumed = kFrameHeaderSize + h.length;
  return FrameView{h, bytes.substr(kFrameHeaderSize, h.length)};
}

}  // namespace net
