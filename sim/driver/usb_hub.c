/* The USB side of the simulation: host controller HCD0 with a root hub of four ports.
 *   port 1: another vendor's device of the same product family
 *   port 2: the KORVEN, or an external hub of four ports with the KORVEN on its port 3
 *   ports 3, 4: empty
 * and, once the plug-and-play host controller is installed (pnp_host_controller.c), its root
 * hub of four ports with the KORVEN on port 2 when the topology puts it there.
 * Records are written byte by byte at the offsets of the platform's packed layouts. */
#include "korvensim.h"

#define IOCTL_USB_GET_ROOT_HUB_NAME 0x220408u
#define IOCTL_USB_GET_NODE_INFORMATION 0x220408u
#define IOCTL_USB_GET_NODE_CONNECTION_INFORMATION 0x22040Cu
#define IOCTL_USB_GET_NODE_CONNECTION_NAME 0x220414u

/* USB_ROOT_HUB_NAME: ActualLength, then the name. */
#define ROOT_HUB_NAME_HEADER 4u
#define ROOT_HUB_NAME_MINIMUM 6u
/* USB_NODE_INFORMATION: NodeType, then the hub descriptor. */
#define NODE_INFORMATION_SIZE 76u
#define NODE_HUB_DESCRIPTOR 4u
/* USB_NODE_CONNECTION_INFORMATION up to its pipe list. */
#define CONNECTION_INFORMATION_SIZE 35u
#define CONNECTION_DESCRIPTOR 4u
#define CONNECTION_CONFIGURATION 22u
#define CONNECTION_IS_HUB 24u
#define CONNECTION_ADDRESS 25u
#define CONNECTION_STATUS 31u
/* USB_NODE_CONNECTION_NAME: ConnectionIndex, ActualLength, then the name. */
#define CONNECTION_NAME_HEADER 8u
#define CONNECTION_NAME_MINIMUM 10u

#define PORTS_PER_HUB 4u
#define KORVEN_ROOT_PORT 2u
#define KORVEN_HUB_PORT 3u
#define OTHER_DEVICE_PORT 1u
#define OTHER_VENDOR_ID 0x5A5Au
#define OTHER_PRODUCT_ID 0x1101u
#define HUB_PRODUCT_ID 0x0100u
#define USB_HUB_DEVICE_CLASS 9u
#define USB_HUB_DESCRIPTOR_TYPE 0x29u
#define NO_DEVICE_CONNECTED 0u
#define DEVICE_CONNECTED 1u

static const WCHAR rootHubName[] = L"USB#ROOT_HUB#KORVENSIM#{f18a0e88-c30c-11d0-8815-00a0c906bed8}";
static const WCHAR secondRootHubName[] =
    L"USB#ROOT_HUB#KORVENSIM2#{f18a0e88-c30c-11d0-8815-00a0c906bed8}";
static const WCHAR externalHubName[] =
    L"USB#VID_5A5A&PID_0100#KORVENSIMHUB#{f18a0e88-c30c-11d0-8815-00a0c906bed8}";

static void Write16(UCHAR* at, ULONG value) {
  at[0] = (UCHAR)value;
  at[1] = (UCHAR)(value >> 8);
}

static void Write32(UCHAR* at, ULONG value) {
  Write16(at, value);
  Write16(at + 2, value >> 16);
}

static ULONG Read32(const UCHAR* at) {
  return (ULONG)at[0] | ((ULONG)at[1] << 8) | ((ULONG)at[2] << 16) | ((ULONG)at[3] << 24);
}

static ULONG NameBytes(const WCHAR* name) {
  ULONG length = 0;
  while (name[length] != 0) ++length;
  return (length + 1) * sizeof(WCHAR);
}

/* A name record: `header` bytes the caller fills, then the wide name and its terminating
 * zero, cut to the output length as the platform does; ActualLength tells the whole. */
static ULONG_PTR WriteName(UCHAR* record, ULONG outLength, ULONG header, ULONG lengthField,
                           const WCHAR* name) {
  ULONG actual = header + NameBytes(name);
  ULONG fits = outLength < actual ? outLength : actual;
  ULONG at;
  Write32(record + lengthField, actual);
  for (at = header; at + 1 < fits; at += 2) Write16(record + at, name[(at - header) / 2]);
  return fits;
}

KsimReply KsimHostRequest(KsimKind host, const KsimRequest* request) {
  KsimReply reply = {STATUS_SUCCESS, 0};
  if (request->code != IOCTL_USB_GET_ROOT_HUB_NAME) {
    reply.status = STATUS_INVALID_DEVICE_REQUEST;
  } else if (request->outLength < ROOT_HUB_NAME_MINIMUM || request->buffer == NULL) {
    reply.status = STATUS_BUFFER_TOO_SMALL;
  } else {
    RtlZeroMemory(request->buffer, request->outLength);
    reply.information = WriteName((UCHAR*)request->buffer, request->outLength, ROOT_HUB_NAME_HEADER,
                                  0, host == KSIM_PNP_HOST ? secondRootHubName : rootHubName);
  }
  return reply;
}

typedef enum PortContent { PORT_EMPTY, PORT_KORVEN, PORT_OTHER, PORT_HUB } PortContent;

static PortContent ContentOf(KsimKind hub, ULONG port) {
  KorvenSimState state;
  KsimDeviceState(&state);
  if (hub == KSIM_ROOT_HUB) {
    if (port == OTHER_DEVICE_PORT) return PORT_OTHER;
    if (port != KORVEN_ROOT_PORT) return PORT_EMPTY;
    if (state.behindHub == KORVENSIM_BEHIND_HUB) return PORT_HUB;
    if (state.behindHub != KORVENSIM_ON_ROOT_PORT) return PORT_EMPTY;
    return state.plugged ? PORT_KORVEN : PORT_EMPTY;
  }
  if (hub == KSIM_PNP_ROOT_HUB) {
    return port == KORVEN_ROOT_PORT && state.behindHub == KORVENSIM_ON_SECOND_CONTROLLER &&
                   state.plugged
               ? PORT_KORVEN
               : PORT_EMPTY;
  }
  if (port == KORVEN_HUB_PORT && state.behindHub == KORVENSIM_BEHIND_HUB && state.plugged) {
    return PORT_KORVEN;
  }
  return PORT_EMPTY;
}

static void WriteDeviceDescriptor(UCHAR* at, ULONG vendor, ULONG product, UCHAR deviceClass) {
  at[0] = 18; /* bLength */
  at[1] = 1;  /* bDescriptorType: device */
  Write16(at + 2, 0x0110);
  at[4] = deviceClass;
  at[7] = 8; /* bMaxPacketSize0 */
  Write16(at + 8, vendor);
  Write16(at + 10, product);
  Write16(at + 12, 0x0100);
  at[14] = 1; /* iManufacturer */
  at[15] = 2; /* iProduct */
  at[17] = 1; /* bNumConfigurations */
}

static KsimReply ConnectionInformation(KsimKind hub, const KsimRequest* request) {
  KsimReply reply = {STATUS_SUCCESS, CONNECTION_INFORMATION_SIZE};
  UCHAR* record = (UCHAR*)request->buffer;
  KorvenSimState state;
  ULONG port;
  PortContent content;

  if (request->inLength < sizeof(ULONG) || record == NULL) {
    reply.status = STATUS_INVALID_PARAMETER;
    reply.information = 0;
    return reply;
  }
  if (request->outLength < CONNECTION_INFORMATION_SIZE) {
    reply.status = STATUS_BUFFER_TOO_SMALL;
    reply.information = 0;
    return reply;
  }
  port = Read32(record);
  if (port < 1 || port > PORTS_PER_HUB) {
    reply.status = STATUS_INVALID_PARAMETER;
    reply.information = 0;
    return reply;
  }
  content = ContentOf(hub, port);
  KsimDeviceState(&state);
  RtlZeroMemory(record, request->outLength);
  Write32(record, port);
  Write32(record + CONNECTION_STATUS,
          content == PORT_EMPTY ? NO_DEVICE_CONNECTED : DEVICE_CONNECTED);
  if (content == PORT_EMPTY) return reply;
  if (content == PORT_KORVEN) {
    WriteDeviceDescriptor(record + CONNECTION_DESCRIPTOR, KORVENSIM_VENDOR_ID, state.productId, 0);
  } else if (content == PORT_OTHER) {
    WriteDeviceDescriptor(record + CONNECTION_DESCRIPTOR, OTHER_VENDOR_ID, OTHER_PRODUCT_ID, 0);
  } else {
    WriteDeviceDescriptor(record + CONNECTION_DESCRIPTOR, OTHER_VENDOR_ID, HUB_PRODUCT_ID,
                          USB_HUB_DEVICE_CLASS);
    record[CONNECTION_IS_HUB] = 1;
  }
  record[CONNECTION_CONFIGURATION] = 1;
  Write16(record + CONNECTION_ADDRESS, (hub == KSIM_ROOT_HUB ? 0 : 4) + port + 1);
  return reply;
}

static KsimReply ConnectionName(KsimKind hub, const KsimRequest* request) {
  KsimReply reply = {STATUS_SUCCESS, 0};
  UCHAR* record = (UCHAR*)request->buffer;
  ULONG port;

  if (request->inLength < sizeof(ULONG) || record == NULL) {
    reply.status = STATUS_INVALID_PARAMETER;
    return reply;
  }
  if (request->outLength < CONNECTION_NAME_MINIMUM) {
    reply.status = STATUS_BUFFER_TOO_SMALL;
    return reply;
  }
  port = Read32(record);
  if (port < 1 || port > PORTS_PER_HUB) {
    reply.status = STATUS_INVALID_PARAMETER;
    return reply;
  }
  RtlZeroMemory(record, request->outLength);
  Write32(record, port);
  /* A port without a hub has an empty name. */
  reply.information = WriteName(record, request->outLength, CONNECTION_NAME_HEADER, sizeof(ULONG),
                                ContentOf(hub, port) == PORT_HUB ? externalHubName : L"");
  return reply;
}

static KsimReply NodeInformation(const KsimRequest* request) {
  KsimReply reply = {STATUS_SUCCESS, NODE_INFORMATION_SIZE};
  UCHAR* record = (UCHAR*)request->buffer;
  if (request->outLength < NODE_INFORMATION_SIZE || record == NULL) {
    reply.status = STATUS_BUFFER_TOO_SMALL;
    reply.information = 0;
    return reply;
  }
  RtlZeroMemory(record, request->outLength);
  Write32(record, 0);                  /* NodeType: UsbHub */
  record[NODE_HUB_DESCRIPTOR + 0] = 9; /* bDescriptorLength */
  record[NODE_HUB_DESCRIPTOR + 1] = USB_HUB_DESCRIPTOR_TYPE;
  record[NODE_HUB_DESCRIPTOR + 2] = PORTS_PER_HUB; /* bNumberOfPorts */
  return reply;
}

KsimReply KsimHubRequest(KsimKind hub, const KsimRequest* request) {
  KsimReply reply = {STATUS_INVALID_DEVICE_REQUEST, 0};
  switch (request->code) {
    case IOCTL_USB_GET_NODE_INFORMATION:
      return NodeInformation(request);
    case IOCTL_USB_GET_NODE_CONNECTION_INFORMATION:
      return ConnectionInformation(hub, request);
    case IOCTL_USB_GET_NODE_CONNECTION_NAME:
      return ConnectionName(hub, request);
    default:
      return reply;
  }
}

NTSTATUS KsimUsbCreateDevices(PDRIVER_OBJECT driver) {
  NTSTATUS status =
      KsimCreateDevice(driver, KSIM_HOST, L"\\Device\\KorvenSimHcd0", L"\\DosDevices\\HCD0");
  if (NT_SUCCESS(status)) {
    status = KsimCreateDevice(driver, KSIM_ROOT_HUB, L"\\Device\\KorvenSimRootHub",
                              L"\\DosDevices\\USB#ROOT_HUB#KORVENSIM#"
                              L"{f18a0e88-c30c-11d0-8815-00a0c906bed8}");
  }
  if (NT_SUCCESS(status)) {
    status = KsimCreateDevice(driver, KSIM_EXTERNAL_HUB, L"\\Device\\KorvenSimHub",
                              L"\\DosDevices\\USB#VID_5A5A&PID_0100#KORVENSIMHUB#"
                              L"{f18a0e88-c30c-11d0-8815-00a0c906bed8}");
  }
  if (NT_SUCCESS(status)) {
    status = KsimCreateDevice(driver, KSIM_PNP_ROOT_HUB, L"\\Device\\KorvenSimRootHub2",
                              L"\\DosDevices\\USB#ROOT_HUB#KORVENSIM2#"
                              L"{f18a0e88-c30c-11d0-8815-00a0c906bed8}");
  }
  return status;
}
