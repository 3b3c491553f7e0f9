/* The KORVEN filter driver's contract: its device path, its fourteen private requests with
 * the buffer sizes it accepts, and the records they carry. The control panel, the simulations
 * and the simulated driver all take it from here, so it is plain C with fixed-size types. */
#ifndef KORVEN_CONTRACT_REQUESTS_H
#define KORVEN_CONTRACT_REQUESTS_H

#include <stdint.h>

#ifdef __cplusplus
#define KORVEN_CONTRACT_ASSERT(condition, text) static_assert(condition, text)
#else
#define KORVEN_CONTRACT_ASSERT(condition, text) _Static_assert(condition, text)
#endif

/* The device object the filter driver creates, "\\.\Class#E96C&0C45" in user mode. */
#define KORVEN_DEVICE_NAME "Class#E96C&0C45"
#define KORVEN_DEVICE_PATH "\\\\.\\" KORVEN_DEVICE_NAME

/* The standard control-code layout: device type FILE_DEVICE_UNKNOWN (0x22), FILE_ANY_ACCESS,
 * the function, METHOD_BUFFERED. */
#define KORVEN_FILE_DEVICE_UNKNOWN 0x22u
#define KORVEN_REQUEST_CODE(function) \
  ((KORVEN_FILE_DEVICE_UNKNOWN << 16) | ((uint32_t)(function) << 2))

/* Linear gain of one output channel: IEEE single precision, 1.0 is unity (0 dB). */
#define KORVEN_GAIN_SIZE 4u

/* IOCTL_SET_BASS_MODE's input: little-endian 32-bit integers. */
typedef struct KorvenBassModeRecord {
  int32_t Primary;
  int32_t Secondary;
  int32_t Sum; /* always Primary + Secondary */
} KorvenBassModeRecord;
KORVEN_CONTRACT_ASSERT(sizeof(KorvenBassModeRecord) == 12, "bass mode record");

/* IOCTL_GET_SOURCE_CHANNELS's output. */
typedef struct KorvenSourceChannelsReply {
  uint8_t MultiChannel; /* non-zero: a 5.1-channel source; takes precedence */
  uint8_t TwoChannel;   /* non-zero: a 2-channel source */
  uint8_t reserved[2];
} KorvenSourceChannelsReply;
KORVEN_CONTRACT_ASSERT(sizeof(KorvenSourceChannelsReply) == 4, "source channels reply");

/* The requests in code order, functions 0xC00 to 0xC0D: X(name, function, input size,
 * output size). The driver refuses any other code and any other pair of sizes. The six gains
 * follow one another in the order LFE, L, R, C, RL, RR. */
#define KORVEN_REQUESTS(X)                                       \
  X(IOCTL_FILTER_ON, 0xC00, 0, 0)                                \
  X(IOCTL_FILTER_OFF, 0xC01, 0, 0)                               \
  X(IOCTL_OUTPUT_5_1, 0xC02, 0, 0)                               \
  X(IOCTL_OUTPUT_2_1, 0xC03, 0, 0)                               \
  X(IOCTL_SURROUND_START, 0xC04, 0, 0)                           \
  X(IOCTL_SURROUND_STOP, 0xC05, 0, 0)                            \
  X(IOCTL_SET_GAIN_LFE, 0xC06, KORVEN_GAIN_SIZE, 0)              \
  X(IOCTL_SET_GAIN_L, 0xC07, KORVEN_GAIN_SIZE, 0)                \
  X(IOCTL_SET_GAIN_R, 0xC08, KORVEN_GAIN_SIZE, 0)                \
  X(IOCTL_SET_GAIN_C, 0xC09, KORVEN_GAIN_SIZE, 0)                \
  X(IOCTL_SET_GAIN_RL, 0xC0A, KORVEN_GAIN_SIZE, 0)               \
  X(IOCTL_SET_GAIN_RR, 0xC0B, KORVEN_GAIN_SIZE, 0)               \
  X(IOCTL_SET_BASS_MODE, 0xC0C, sizeof(KorvenBassModeRecord), 0) \
  X(IOCTL_GET_SOURCE_CHANNELS, 0xC0D, 0, sizeof(KorvenSourceChannelsReply))

#define KORVEN_FIRST_REQUEST KORVEN_REQUEST_CODE(0xC00)
#define KORVEN_FIRST_GAIN_REQUEST KORVEN_REQUEST_CODE(0xC06)
#define KORVEN_GAIN_COUNT 6
#define KORVEN_REQUEST_COUNT 14

/* One request of the catalogue. */
typedef struct KorvenRequestShape {
  uint32_t code;
  const char* name;
  uint32_t inputSize;
  uint32_t outputSize;
} KorvenRequestShape;

#define KORVEN_REQUEST_SHAPE(name, function, in, out) \
  {KORVEN_REQUEST_CODE(function), #name, (uint32_t)(in), (uint32_t)(out)},
static const KorvenRequestShape korvenRequestShapes[KORVEN_REQUEST_COUNT] = {
    KORVEN_REQUESTS(KORVEN_REQUEST_SHAPE)};
#undef KORVEN_REQUEST_SHAPE

/* The catalogue row of a code, or a null pointer for a code the driver does not know. The
 * codes run from the first in steps of 4. */
static inline const KorvenRequestShape* KorvenFindRequest(uint32_t code) {
  const uint32_t index = (code - KORVEN_FIRST_REQUEST) >> 2;
  if ((code & 3u) != 0 || code < KORVEN_FIRST_REQUEST || index >= KORVEN_REQUEST_COUNT) return 0;
  return &korvenRequestShapes[index];
}

/* The gain index (LFE 0 ... RR 5) of an IOCTL_SET_GAIN_* code, or -1. */
static inline int KorvenGainIndex(uint32_t code) {
  if (code < KORVEN_FIRST_GAIN_REQUEST ||
      code > KORVEN_FIRST_GAIN_REQUEST + 4 * (KORVEN_GAIN_COUNT - 1) || (code & 3u) != 0) {
    return -1;
  }
  return (int)((code - KORVEN_FIRST_GAIN_REQUEST) >> 2);
}

#endif
