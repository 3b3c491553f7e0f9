/* The simulated KORVEN's private test requests and the records they carry. Shared by the
 * driver (C, kernel mode) and the user-mode programs, so it uses fixed-size types only. */
#ifndef KORVENSIM_IOCTL_H
#define KORVENSIM_IOCTL_H

#include <stdint.h>

#include "contract/korven_requests.h"

/* The device objects and their names in the object manager and in user mode. */
#define KORVENSIM_SERVICE_NAME "KorvenSim"
#define KORVENSIM_CONTROL_PATH "\\\\.\\KorvenSimControl"
#define KORVENSIM_DEVICE_PATH KORVEN_DEVICE_PATH

/* The simulated USB device's ids: the vendor the program expects and a product of family
 * 0x11xx. */
#define KORVENSIM_VENDOR_ID 0x2B4Du
#define KORVENSIM_PRODUCT_ID 0x1101u

/* Device type FILE_DEVICE_UNKNOWN, METHOD_BUFFERED, FILE_ANY_ACCESS, functions 0xE00 up:
 * outside the program's range 0xC00-0xC0D. */
#define KORVENSIM_REQUEST(function) KORVEN_REQUEST_CODE(function)

/* in: uint32_t first entry (optional); out: KorvenSimLogHeader, then entries */
#define KORVENSIM_GET_LOG KORVENSIM_REQUEST(0xE00)
/* no buffers: forgets every entry, numbering starts again at 0 */
#define KORVENSIM_CLEAR_LOG KORVENSIM_REQUEST(0xE01)
/* out: KorvenSimState */
#define KORVENSIM_GET_STATE KORVENSIM_REQUEST(0xE02)
/* in: uint32_t source kind (KORVENSIM_SOURCE_*) */
#define KORVENSIM_SET_SOURCE KORVENSIM_REQUEST(0xE03)
/* in: KorvenSimFault */
#define KORVENSIM_FAIL_NEXT KORVENSIM_REQUEST(0xE04)
/* no buffers: the device leaves the USB port and its device path goes away */
#define KORVENSIM_UNPLUG KORVENSIM_REQUEST(0xE05)
/* no buffers: the device comes back on its port and its device path returns */
#define KORVENSIM_REPLUG KORVENSIM_REQUEST(0xE06)
/* in: KorvenSimTopology */
#define KORVENSIM_SET_TOPOLOGY KORVENSIM_REQUEST(0xE07)
/* no buffers: power-on state, empty log, no faults, plugged in on the root hub */
#define KORVENSIM_RESET KORVENSIM_REQUEST(0xE08)

#define KORVENSIM_SOURCE_NONE 0u
#define KORVENSIM_SOURCE_TWO_CHANNEL 2u
#define KORVENSIM_SOURCE_MULTI_CHANNEL 6u

/* The log keeps the most recent entries; older ones are dropped, and their numbers with
 * them. */
#define KORVENSIM_LOG_CAPACITY 4096u
#define KORVENSIM_LOGGED_INPUT 12u

/* One request that reached the device path, accepted or refused. */
typedef struct KorvenSimLogEntry {
  uint32_t sequence;                     /* 0, 1, 2 ... since the last clear */
  uint32_t code;                         /* the request code as sent */
  uint32_t inLength;                     /* input length as sent */
  uint32_t outLength;                    /* output length as sent */
  int32_t status;                        /* the completion status; 0 = accepted */
  uint8_t input[KORVENSIM_LOGGED_INPUT]; /* the first bytes of the input */
} KorvenSimLogEntry;

typedef struct KorvenSimLogHeader {
  uint32_t next;    /* the sequence number the next request will get */
  uint32_t first;   /* the sequence number of the first entry that follows */
  uint32_t count;   /* entries that follow */
  uint32_t dropped; /* entries lost to the capacity since the last clear */
} KorvenSimLogHeader;

/* Gains are kept as the bits of the single-precision value the program sent; the driver
 * does no floating point. */
enum {
  KORVENSIM_GAIN_LFE,
  KORVENSIM_GAIN_L,
  KORVENSIM_GAIN_R,
  KORVENSIM_GAIN_C,
  KORVENSIM_GAIN_RL,
  KORVENSIM_GAIN_RR,
  KORVENSIM_GAIN_COUNT
};

typedef struct KorvenSimState {
  uint32_t filterOn;        /* IOCTL_FILTER_ON / _OFF */
  uint32_t speakers51;      /* IOCTL_OUTPUT_5_1 / _2_1 */
  uint32_t surroundRunning; /* IOCTL_SURROUND_START / _STOP */
  int32_t bass[3];          /* the last BassModeRecord */
  uint32_t gainBits[KORVENSIM_GAIN_COUNT];
  uint32_t source; /* KORVENSIM_SOURCE_* */
  uint32_t plugged;
  uint32_t behindHub; /* where it sits: KORVENSIM_ON_ROOT_PORT ... */
  uint32_t productId;
  uint32_t openHandles;   /* handles open on the device path now */
  uint32_t opens;         /* opens of the device path since the last reset */
  uint32_t pendingFaults; /* requests still to be failed */
} KorvenSimState;

/* The next `count` requests with `code` (0: any code) fail with `status` (0: the driver's
 * general failure, STATUS_UNSUCCESSFUL). A count of 0 clears the faults of that code. */
typedef struct KorvenSimFault {
  uint32_t code;
  uint32_t count;
  int32_t status;
} KorvenSimFault;

/* Where the device sits (KorvenSimTopology and KorvenSimState .behindHub). */
#define KORVENSIM_ON_ROOT_PORT 0u /* port 2 of HCD0's root hub */
#define KORVENSIM_BEHIND_HUB 1u   /* port 3 of an external hub on that port */
/* port 2 of the root hub of the host controller that only the system's device list names;
 * found only once that controller is installed (korvenctl controller add) */
#define KORVENSIM_ON_SECOND_CONTROLLER 2u

typedef struct KorvenSimTopology {
  uint32_t behindHub; /* KORVENSIM_ON_ROOT_PORT, _BEHIND_HUB or _ON_SECOND_CONTROLLER */
  uint32_t productId; /* 0 keeps the current one */
} KorvenSimTopology;

#endif
