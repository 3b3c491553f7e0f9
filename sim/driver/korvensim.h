/* The simulated KORVEN driver's parts and what they share. */
#ifndef KORVENSIM_DRIVER_H
#define KORVENSIM_DRIVER_H

#include <ntddk.h>

#include "../korvensim_ioctl.h"

/* What a device object of this driver stands for. */
typedef enum KsimKind {
  KSIM_KORVEN,       /* the filter driver's device path */
  KSIM_CONTROL,      /* the private test requests */
  KSIM_HOST,         /* host controller HCD0 */
  KSIM_ROOT_HUB,     /* its root hub */
  KSIM_EXTERNAL_HUB, /* a hub on a root hub port */
  KSIM_PNP_HOST,     /* the host controller known only by its interface */
  KSIM_PNP_ROOT_HUB, /* its root hub */
} KsimKind;

typedef struct KsimExtension {
  KsimKind kind;
} KsimExtension;

/* One answer to a request: its status and the bytes of output it leaves. */
typedef struct KsimReply {
  NTSTATUS status;
  ULONG_PTR information;
} KsimReply;

/* The buffered request as the I/O manager hands it over. */
typedef struct KsimRequest {
  ULONG code;
  void* buffer; /* input on entry, output on return; max(inLength, outLength) bytes */
  ULONG inLength;
  ULONG outLength;
} KsimRequest;

/* korven_device.c: the device's state, request log and faults. */
void KsimDeviceInit(void);
/* An open handle remembers the plug-in it was opened in: after the device has been pulled
 * out, a handle from before reaches nothing, even once it is back. */
NTSTATUS KsimDeviceOpen(ULONG* plugIn);
void KsimDeviceClose(void);
KsimReply KsimDeviceRequest(ULONG plugIn, const KsimRequest* request);
void KsimDeviceState(KorvenSimState* state);
KsimReply KsimDeviceLog(const KsimRequest* request);
void KsimDeviceClearLog(void);
void KsimDeviceSetSource(ULONG source);
void KsimDeviceAddFault(const KorvenSimFault* fault);
void KsimDeviceSetTopology(const KorvenSimTopology* topology);
void KsimDeviceReset(void);
/* Plugs the device in or pulls it out; the device path comes and goes with it. */
NTSTATUS KsimDeviceSetPlugged(BOOLEAN plugged);

/* control_requests.c */
KsimReply KsimControlRequest(const KsimRequest* request);

/* usb_hub.c */
KsimReply KsimHostRequest(KsimKind host, const KsimRequest* request);
KsimReply KsimHubRequest(KsimKind hub, const KsimRequest* request);
NTSTATUS KsimUsbCreateDevices(PDRIVER_OBJECT driver);

/* pnp_host_controller.c */
NTSTATUS NTAPI KsimPnpAddDevice(PDRIVER_OBJECT driver, PDEVICE_OBJECT physical);
NTSTATUS NTAPI KsimPnpDispatch(PDEVICE_OBJECT device, PIRP irp);

/* driver_entry.c: a device object with a link to it in user mode. */
NTSTATUS KsimCreateDevice(PDRIVER_OBJECT driver, KsimKind kind, PCWSTR deviceName, PCWSTR linkName);

#endif
