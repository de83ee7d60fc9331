// Wire: the bytes a socket connection and a dispatch server exchange, on their own so that the
// format can be tested and fuzzed without a socket.
//
// A connection carries frames. Every frame is a 12-byte header followed by its payload; numbers
// are little-endian:
//
//   offset  size  field
//        0     2  magic "QZ"
//        2     1  version, kWireVersion
//        3     1  kind (FrameKind)
//        4     4  payload length in bytes, unsigned; at most WireLimits::maxFrameBytes
//        8     4  sequence number, unsigned; an answer repeats the number of its request;
//                 requests are numbered from 1, and a fault numbered 0 is about the connection
//                 as a whole (refused before any request was read)
//
// Payloads by kind (text = u32 byte count + bytes, taken as they stand):
//
//   Open    client → server  text server name (the class name of the server object)
//   Opened  server → client  nothing
//   Call    client → server  text member name, u8 kind (0 method, 1 property read,
//                            2 property write), u32 argument count, then per argument
//                            u8 flags (bit 0 = by reference, other bits 0) and a value
//   Return  server → client  value result, u32 count, then per argument written back
//                            u32 argument index (strictly increasing) and its value
//   Fault   server → client  text message (an error raised by the server object, or the
//                            reason a frame was refused), u8 flags (bit 0 = the server
//                            closes the connection after this fault, other bits 0)
//
// A value is a one-byte tag and its data:
//
//   0 empty   1 null   2 integer (i32)   3 double (f64 bits)   4 boolean (u8 0 or 1)
//   5 date (f64 day number)   6 8-bit text (u32 byte count + bytes, code page not recorded)
//   7 wide text (u32 count of UTF-16 units + units)   8 array: u8 dimension count (1 or 2),
//   per dimension i32 low and i32 high bound, then the elements in storage order (row by row),
//   each a value, arrays included.
//
// Automation objects cannot travel: encoding one throws automation::Error saying so.
//
// Decoding trusts nothing: lengths and element counts are checked against the bytes left before
// anything is allocated, nested arrays are limited in depth and elements in number, unknown tags
// and kinds, stray flag bits, bytes left over and truncated data are refused. Every refusal is a
// WireError; a decoder never reads outside its input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "automation/Dispatch.h"
#include "automation/Variant.h"

namespace net {

inline constexpr uint8_t kWireVersion = 1;
inline constexpr size_t kFrameHeaderSize = 12;

enum class FrameKind : uint8_t { Open = 1, Opened = 2, Call = 3, Return = 4, Fault = 5 };

// The bounds both sides hold a peer to. The defaults serve the job server's calls with room to
// spare; both ends of a connection should use the same values.
struct WireLimits {
  uint32_t maxFrameBytes = 16u << 20;  // payload length of one frame
  int maxDepth = 32;                   // array levels inside one value
  size_t maxElements = 1u << 20;       // array elements in one frame, all levels together
};

// Why a frame was refused.
enum class WireFault { BadMagic, BadVersion, TooLong, Malformed };

// A frame or a value that cannot be decoded, or one too large to encode within the limits.
class WireError : public automation::Error {
 public:
  WireError(WireFault fault, const std::string& message)
      : automation::Error(message), fault_(fault) {}
  WireFault Fault() const { return fault_; }

 private:
  WireFault fault_;
};

// The transport failed: no connection could be made, a call timed out or the peer went away.
// The connection is closed when this is thrown.
class ConnectionError : public automation::Error {
 public:
  using automation::Error::Error;
};

struct FrameHeader {
  uint8_t version = kWireVersion;
  FrameKind kind = FrameKind::Fault;
  uint32_t length = 0;
  uint32_t sequence = 0;
};

// Decodes a header from its first kFrameHeaderSize bytes. Throws WireError BadMagic, BadVersion
// (a frame of another version), TooLong (a length over the limit) or Malformed (an unknown kind,
// or fewer bytes than a header).
FrameHeader DecodeHeader(std::string_view bytes, const WireLimits& limits);

// Complete frames, ready to send. They throw automation::Error for a value that cannot travel and
// WireError TooLong when the payload would exceed the limit.
std::string OpenFrame(uint32_t sequence, std::string_view serverName, const WireLimits& limits);
std::string OpenedFrame(uint32_t sequence);
std::string CallFrame(uint32_t sequence, std::string_view name, automation::InvokeKind kind,
                      automation::CallArgs args, const WireLimits& limits);
// The answer to a call: the result and every argument flagged by reference in `args`.
std::string ReturnFrame(uint32_t sequence, const automation::Variant& result,
                        automation::CallArgs args, const WireLimits& limits);
// A fault never fails: a message too long for the limit is cut. `closing` tells the client that
// the server drops the connection after it.
std::string FaultFrame(uint32_t sequence, std::string_view message, bool closing,
                       const WireLimits& limits);

// A decoded call. Args() hands the arguments to a dispatch object; by-reference ones may be
// written and go back in the answer.
struct CallMessage {
  std::string name;
  automation::InvokeKind kind = automation::InvokeKind::Method;
  std::vector<automation::Variant> args;
  std::unique_ptr<bool[]> byRef;  // one flag per argument

  automation::CallArgs Args();
};

// A decoded answer to a call.
struct ReturnMessage {
  automation::Variant result;
  std::vector<std::pair<uint32_t, automation::Variant>> written;  // argument index, new value
};

// A decoded fault.
struct FaultMessage {
  std::string message;
  bool closing = false;
};

// Payload decoders; each throws WireError Malformed for anything but one whole, valid payload.
std::string DecodeOpen(std::string_view payload, const WireLimits& limits);
CallMessage DecodeCall(std::string_view payload, const WireLimits& limits);
ReturnMessage DecodeReturn(std::string_view payload, const WireLimits& limits);
FaultMessage DecodeFault(std::string_view payload, const WireLimits& limits);

// One value on its own: the encoding used inside the payloads above.
std::string EncodeVariant(const automation::Variant& value, const WireLimits& limits);
automation::Variant DecodeVariant(std::string_view bytes, const WireLimits& limits);

// A whole frame at the front of a buffer: nullopt while the buffer holds less than one frame,
// otherwise the header and a view of the payload inside `bytes`, with `consumed` set to the
// frame's size. The header is checked as DecodeHeader does.
struct FrameView {
  FrameHeader header;
  std::string_view payload;
};
std::optional<FrameView> SplitFrame(std::string_view bytes, const WireLimits& limits,
                                    size_t& consumed);

}  // namespace net
