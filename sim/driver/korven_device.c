/* The simulated KORVEN behind the device path: the fourteen requests with their exact
 * buffer sizes, the state they set, the ordered request log and the injected faults. */
#include "korvensim.h"

/* The program's requests, named as in the contract. */
#define REQUEST_CONSTANT(name, function, in, out) name = KORVEN_REQUEST_CODE(function),
enum { KORVEN_REQUESTS(REQUEST_CONSTANT) };
#undef REQUEST_CONSTANT

#define UNITY_GAIN_BITS 0x3F800000u
#define MAX_FAULTS 16u

static const WCHAR deviceName[] = L"\\Device\\KorvenSim";
static const WCHAR linkName[] = L"\\DosDevices\\" KORVEN_DEVICE_NAME;

typedef struct Fault {
  ULONG code; /* 0: any */
  ULONG count;
  NTSTATUS status;
} Fault;

static KSPIN_LOCK lock;
static KorvenSimState state;
static Fault faults[MAX_FAULTS];
static BOOLEAN linked;
/* Counts the times the device has been plugged in. */
static ULONG plugIns;
static KorvenSimLogEntry requestLog[KORVENSIM_LOG_CAPACITY];
static ULONG nextSequence;

/* The state a device has when it is powered up: the filter off, 2.1 speakers, every gain
 * at unity, nothing playing. */
static void PowerOnState(void) {
  ULONG i;
  ULONG plugged = state.plugged;
  ULONG openHandles = state.openHandles;
  RtlZeroMemory(&state, sizeof state);
  for (i = 0; i < KORVENSIM_GAIN_COUNT; ++i) state.gainBits[i] = UNITY_GAIN_BITS;
  state.productId = KORVENSIM_PRODUCT_ID;
  state.plugged = plugged;
  state.openHandles = openHandles;
  RtlZeroMemory(faults, sizeof faults);
  nextSequence = 0;
}

void KsimDeviceInit(void) {
  KeInitializeSpinLock(&lock);
  PowerOnState();
}

NTSTATUS KsimDeviceOpen(ULONG* plugIn) {
  KIRQL irql;
  NTSTATUS status = STATUS_NO_SUCH_DEVICE;
  KeAcquireSpinLock(&lock, &irql);
  *plugIn = plugIns;
  if (state.plugged) {
    ++state.openHandles;
    ++state.opens;
    status = STATUS_SUCCESS;
  }
  KeReleaseSpinLock(&lock, irql);
  return status;
}

void KsimDeviceClose(void) {
  KIRQL irql;
  KeAcquireSpinLock(&lock, &irql);
  if (state.openHandles > 0) --state.openHandles;
  KeReleaseSpinLock(&lock, irql);
}

/* The status an injected fault gives this request, or STATUS_SUCCESS when none applies.
 * Called with the lock held. */
static NTSTATUS TakeFault(ULONG code) {
  ULONG i;
  for (i = 0; i < MAX_FAULTS; ++i) {
    if (faults[i].count > 0 && (faults[i].code == 0 || faults[i].code == code)) {
      --faults[i].count;
      --state.pendingFaults;
      return faults[i].status;
    }
  }
  return STATUS_SUCCESS;
}

/* Called with the lock held. */
static void Record(const KsimRequest* request, NTSTATUS status) {
  KorvenSimLogEntry* entry = &requestLog[nextSequence % KORVENSIM_LOG_CAPACITY];
  ULONG copied =
      request->inLength < KORVENSIM_LOGGED_INPUT ? request->inLength : KORVENSIM_LOGGED_INPUT;
  RtlZeroMemory(entry, sizeof *entry);
  entry->sequence = nextSequence++;
  entry->code = request->code;
  entry->inLength = request->inLength;
  entry->outLength = request->outLength;
  entry->status = status;
  if (copied > 0 && request->buffer != NULL) RtlCopyMemory(entry->input, request->buffer, copied);
}

/* The buffer sizes a request must come with, as the real driver checks them. */
static NTSTATUS CheckSizes(const KsimRequest* request) {
  const KorvenRequestShape* shape = KorvenFindRequest(request->code);
  if (shape == NULL) return STATUS_INVALID_DEVICE_REQUEST;
  if (request->outLength < shape->outputSize) return STATUS_BUFFER_TOO_SMALL;
  if (request->inLength != shape->inputSize || request->outLength != shape->outputSize) {
    return STATUS_INVALID_PARAMETER;
  }
  if ((shape->inputSize > 0 || shape->outputSize > 0) && request->buffer == NULL) {
    return STATUS_INVALID_PARAMETER;
  }
  return STATUS_SUCCESS;
}

static ULONG Read32(const void* buffer, ULONG offset) {
  const UCHAR* at = (const UCHAR*)buffer + offset;
  return (ULONG)at[0] | ((ULONG)at[1] << 8) | ((ULONG)at[2] << 16) | ((ULONG)at[3] << 24);
}

/* Carries out an accepted request. Called with the lock held. */
static ULONG_PTR Apply(const KsimRequest* request) {
  UCHAR* bytes = (UCHAR*)request->buffer;
  switch (request->code) {
    case IOCTL_FILTER_ON:
      state.filterOn = 1;
      return 0;
    case IOCTL_FILTER_OFF:
      state.filterOn = 0;
      return 0;
    case IOCTL_OUTPUT_5_1:
      state.speakers51 = 1;
      return 0;
    case IOCTL_OUTPUT_2_1:
      state.speakers51 = 0;
      return 0;
    case IOCTL_SURROUND_START:
      state.surroundRunning = 1;
      return 0;
    case IOCTL_SURROUND_STOP:
      state.surroundRunning = 0;
      return 0;
    case IOCTL_SET_BASS_MODE:
      state.bass[0] = (LONG)Read32(bytes, 0);
      state.bass[1] = (LONG)Read32(bytes, 4);
      state.bass[2] = (LONG)Read32(bytes, 8);
      return 0;
    case IOCTL_GET_SOURCE_CHANNELS:
      bytes[0] = state.source == KORVENSIM_SOURCE_MULTI_CHANNEL;
      bytes[1] = state.source == KORVENSIM_SOURCE_TWO_CHANNEL;
      bytes[2] = 0;
      bytes[3] = 0;
      return sizeof(KorvenSourceChannelsReply);
    default: /* the six gains, in the order of their codes */
      state.gainBits[KorvenGainIndex(request->code)] = Read32(bytes, 0);
      return 0;
  }
}

KsimReply KsimDeviceRequest(ULONG plugIn, const KsimRequest* request) {
  KsimReply reply = {STATUS_SUCCESS, 0};
  KIRQL irql;
  KeAcquireSpinLock(&lock, &irql);
  if (!state.plugged || plugIn != plugIns) {
    reply.status = STATUS_DEVICE_NOT_CONNECTED;
  } else {
    reply.status = CheckSizes(request);
    if (NT_SUCCESS(reply.status)) reply.status = TakeFault(request->code);
    if (NT_SUCCESS(reply.status)) reply.information = Apply(request);
  }
  Record(request, reply.status);
  KeReleaseSpinLock(&lock, irql);
  return reply;
}

void KsimDeviceState(KorvenSimState* out) {
  KIRQL irql;
  KeAcquireSpinLock(&lock, &irql);
  *out = state;
  KeReleaseSpinLock(&lock, irql);
}

KsimReply KsimDeviceLog(const KsimRequest* request) {
  KsimReply reply = {STATUS_SUCCESS, 0};
  KorvenSimLogHeader header;
  KorvenSimLogEntry* entries;
  ULONG oldest, first, room, i;
  KIRQL irql;

  if (request->outLength < sizeof header) {
    reply.status = STATUS_BUFFER_TOO_SMALL;
    return reply;
  }
  first = request->inLength >= sizeof(ULONG) ? Read32(request->buffer, 0) : 0;
  room = (request->outLength - sizeof header) / sizeof(KorvenSimLogEntry);
  entries = (KorvenSimLogEntry*)((UCHAR*)request->buffer + sizeof header);

  KeAcquireSpinLock(&lock, &irql);
  oldest = nextSequence > KORVENSIM_LOG_CAPACITY ? nextSequence - KORVENSIM_LOG_CAPACITY : 0;
  if (first < oldest) first = oldest;
  if (first > nextSequence) first = nextSequence;
  header.next = nextSequence;
  header.first = first;
  header.count = nextSequence - first < room ? nextSequence - first : room;
  header.dropped = oldest;
  for (i = 0; i < header.count; ++i) entries[i] = requestLog[(first + i) % KORVENSIM_LOG_CAPACITY];
  KeReleaseSpinLock(&lock, irql);

  RtlCopyMemory(request->buffer, &header, sizeof header);
  reply.information = sizeof header + header.count * sizeof(KorvenSimLogEntry);
  return reply;
}

void KsimDeviceClearLog(void) {
  KIRQL irql;
  KeAcquireSpinLock(&lock, &irql);
  nextSequence = 0;
  KeReleaseSpinLock(&lock, irql);
}

void KsimDeviceSetSource(ULONG source) {
  KIRQL irql;
  KeAcquireSpinLock(&lock, &irql);
  state.source = source;
  KeReleaseSpinLock(&lock, irql);
}

void KsimDeviceAddFault(const KorvenSimFault* fault) {
  ULONG i;
  KIRQL irql;
  KeAcquireSpinLock(&lock, &irql);
  for (i = 0; i < MAX_FAULTS; ++i) {
    if (faults[i].count > 0 && faults[i].code == fault->code) {
      state.pendingFaults -= faults[i].count;
      faults[i].count = 0;
    }
  }
  for (i = 0; i < MAX_FAULTS && fault->count > 0; ++i) {
    if (faults[i].count == 0) {
      faults[i].code = fault->code;
      faults[i].count = fault->count;
      faults[i].status = fault->status != 0 ? fault->status : STATUS_UNSUCCESSFUL;
      state.pendingFaults += fault->count;
      break;
    }
  }
  KeReleaseSpinLock(&lock, irql);
}

void KsimDeviceSetTopology(const KorvenSimTopology* topology) {
  KIRQL irql;
  KeAcquireSpinLock(&lock, &irql);
  if (topology->behindHub <= KORVENSIM_ON_SECOND_CONTROLLER) state.behindHub = topology->behindHub;
  if (topology->productId != 0) state.productId = topology->productId & 0xFFFFu;
  KeReleaseSpinLock(&lock, irql);
}

void KsimDeviceReset(void) {
  KIRQL irql;
  KeAcquireSpinLock(&lock, &irql);
  PowerOnState();
  KeReleaseSpinLock(&lock, irql);
  KsimDeviceSetPlugged(TRUE);
}

NTSTATUS KsimDeviceSetPlugged(BOOLEAN plugged) {
  UNICODE_STRING link, device;
  NTSTATUS status = STATUS_SUCCESS;
  KIRQL irql;

  RtlInitUnicodeString(&link, linkName);
  RtlInitUnicodeString(&device, deviceName);
  /* The link is made and removed at passive level, outside the lock; only the control
   * device's requests change it, one at a time. */
  if (plugged && !linked) {
    status = IoCreateSymbolicLink(&link, &device);
    if (NT_SUCCESS(status)) linked = TRUE;
  } else if (!plugged && linked) {
    IoDeleteSymbolicLink(&link);
    linked = FALSE;
  }
  KeAcquireSpinLock(&lock, &irql);
  if (plugged && NT_SUCCESS(status) && !state.plugged) ++plugIns;
  state.plugged = plugged && NT_SUCCESS(status);
  KeReleaseSpinLock(&lock, irql);
  return status;
}
