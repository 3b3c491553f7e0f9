/* The private test requests on "\\.\KorvenSimControl": read the log and the state, steer
 * the source, inject faults, pull the device out and plug it back. */
#include "korvensim.h"

static KsimReply Reply(NTSTATUS status, ULONG_PTR information) {
  KsimReply reply;
  reply.status = status;
  reply.information = information;
  return reply;
}

KsimReply KsimControlRequest(const KsimRequest* request) {
  const void* in = request->buffer;
  switch (request->code) {
    case KORVENSIM_GET_LOG:
      return KsimDeviceLog(request);
    case KORVENSIM_CLEAR_LOG:
      KsimDeviceClearLog();
      return Reply(STATUS_SUCCESS, 0);
    case KORVENSIM_GET_STATE:
      if (request->outLength < sizeof(KorvenSimState)) return Reply(STATUS_BUFFER_TOO_SMALL, 0);
      KsimDeviceState((KorvenSimState*)request->buffer);
      return Reply(STATUS_SUCCESS, sizeof(KorvenSimState));
    case KORVENSIM_SET_SOURCE: {
      ULONG source;
      if (request->inLength != sizeof(ULONG)) return Reply(STATUS_INVALID_PARAMETER, 0);
      source = *(const ULONG*)in;
      if (source != KORVENSIM_SOURCE_NONE && source != KORVENSIM_SOURCE_TWO_CHANNEL &&
          source != KORVENSIM_SOURCE_MULTI_CHANNEL) {
        return Reply(STATUS_INVALID_PARAMETER, 0);
      }
      KsimDeviceSetSource(source);
      return Reply(STATUS_SUCCESS, 0);
    }
    case KORVENSIM_FAIL_NEXT:
      if (request->inLength != sizeof(KorvenSimFault)) return Reply(STATUS_INVALID_PARAMETER, 0);
      KsimDeviceAddFault((const KorvenSimFault*)in);
      return Reply(STATUS_SUCCESS, 0);
    case KORVENSIM_UNPLUG:
      return Reply(KsimDeviceSetPlugged(FALSE), 0);
    case KORVENSIM_REPLUG:
      return Reply(KsimDeviceSetPlugged(TRUE), 0);
    case KORVENSIM_SET_TOPOLOGY:
      if (request->inLength != sizeof(KorvenSimTopology)) {
        return Reply(STATUS_INVALID_PARAMETER, 0);
      }
      KsimDeviceSetTopology((const KorvenSimTopology*)in);
      return Reply(STATUS_SUCCESS, 0);
    case KORVENSIM_RESET:
      KsimDeviceReset();
      return Reply(STATUS_SUCCESS, 0);
    default:
      return Reply(STATUS_INVALID_DEVICE_REQUEST, 0);
  }
}
