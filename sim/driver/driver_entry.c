/* Entry and dispatch of the simulated KORVEN driver: creates the device objects and routes
 * each request to the part that owns the device object. */
#include "korvensim.h"

DRIVER_INITIALIZE DriverEntry;

/* Every link the driver made, so that unloading can take them away again. */
#define KSIM_MAX_LINKS 8
static UNICODE_STRING links[KSIM_MAX_LINKS];
static ULONG linkCount;

static KsimExtension* ExtensionOf(PDEVICE_OBJECT device) {
  return (KsimExtension*)device->DeviceExtension;
}

NTSTATUS KsimCreateDevice(PDRIVER_OBJECT driver, KsimKind kind, PCWSTR deviceName,
                          PCWSTR linkName) {
  UNICODE_STRING name;
  PDEVICE_OBJECT device = NULL;
  NTSTATUS status;

  RtlInitUnicodeString(&name, deviceName);
  status =
      IoCreateDevice(driver, sizeof(KsimExtension), &name, FILE_DEVICE_UNKNOWN, 0, FALSE, &device);
  if (!NT_SUCCESS(status)) return status;
  ExtensionOf(device)->kind = kind;
  device->Flags |= DO_BUFFERED_IO;
  device->Flags &= ~DO_DEVICE_INITIALIZING;

  if (linkName == NULL) return STATUS_SUCCESS;
  if (linkCount == KSIM_MAX_LINKS) return STATUS_INSUFFICIENT_RESOURCES;
  RtlInitUnicodeString(&links[linkCount], linkName);
  status = IoCreateSymbolicLink(&links[linkCount], &name);
  if (NT_SUCCESS(status)) ++linkCount;
  return status;
}

static NTSTATUS Complete(PIRP irp, NTSTATUS status, ULONG_PTR information) {
  irp->IoStatus.Status = status;
  irp->IoStatus.Information = information;
  IoCompleteRequest(irp, IO_NO_INCREMENT);
  return status;
}

/* The plug-in a handle on the device path was opened in rides on its file object. */
static ULONG PlugInOf(PIRP irp) {
  PFILE_OBJECT file = IoGetCurrentIrpStackLocation(irp)->FileObject;
  return file != NULL ? (ULONG)(ULONG_PTR)file->FsContext : 0;
}

static NTSTATUS NTAPI DispatchCreate(PDEVICE_OBJECT device, PIRP irp) {
  NTSTATUS status = STATUS_SUCCESS;
  PFILE_OBJECT file = IoGetCurrentIrpStackLocation(irp)->FileObject;
  ULONG plugIn = 0;
  if (ExtensionOf(device)->kind == KSIM_KORVEN) {
    status = KsimDeviceOpen(&plugIn);
    if (file != NULL) file->FsContext = (PVOID)(ULONG_PTR)plugIn;
  }
  return Complete(irp, status, 0);
}

static NTSTATUS NTAPI DispatchClose(PDEVICE_OBJECT device, PIRP irp) {
  if (ExtensionOf(device)->kind == KSIM_KORVEN) KsimDeviceClose();
  return Complete(irp, STATUS_SUCCESS, 0);
}

static NTSTATUS NTAPI DispatchCleanup(PDEVICE_OBJECT device, PIRP irp) {
  (void)device;
  return Complete(irp, STATUS_SUCCESS, 0);
}

static NTSTATUS NTAPI DispatchControl(PDEVICE_OBJECT device, PIRP irp) {
  PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
  KsimRequest request;
  KsimReply reply;

  request.code = stack->Parameters.DeviceIoControl.IoControlCode;
  request.buffer = irp->AssociatedIrp.SystemBuffer;
  request.inLength = stack->Parameters.DeviceIoControl.InputBufferLength;
  request.outLength = stack->Parameters.DeviceIoControl.OutputBufferLength;

  switch (ExtensionOf(device)->kind) {
    case KSIM_KORVEN:
      reply = KsimDeviceRequest(PlugInOf(irp), &request);
      break;
    case KSIM_CONTROL:
      reply = KsimControlRequest(&request);
      break;
    case KSIM_HOST:
    case KSIM_PNP_HOST:
      reply = KsimHostRequest(ExtensionOf(device)->kind, &request);
      break;
    default:
      reply = KsimHubRequest(ExtensionOf(device)->kind, &request);
      break;
  }
  return Complete(irp, reply.status, reply.information);
}

static void NTAPI DriverUnload(PDRIVER_OBJECT driver) {
  ULONG i;
  KsimDeviceSetPlugged(FALSE);
  for (i = 0; i < linkCount; ++i) IoDeleteSymbolicLink(&links[i]);
  linkCount = 0;
  while (driver->DeviceObject != NULL) IoDeleteDevice(driver->DeviceObject);
}

NTSTATUS NTAPI DriverEntry(PDRIVER_OBJECT driver, PUNICODE_STRING registryPath) {
  NTSTATUS status;
  (void)registryPath;

  driver->MajorFunction[IRP_MJ_CREATE] = DispatchCreate;
  driver->MajorFunction[IRP_MJ_CLOSE] = DispatchClose;
  driver->MajorFunction[IRP_MJ_CLEANUP] = DispatchCleanup;
  driver->MajorFunction[IRP_MJ_DEVICE_CONTROL] = DispatchControl;
  driver->MajorFunction[IRP_MJ_PNP] = KsimPnpDispatch;
  driver->DriverExtension->AddDevice = KsimPnpAddDevice;
  driver->DriverUnload = DriverUnload;

  KsimDeviceInit();
  /* The device path's link belongs to the plug state, not to this list. */
  status = KsimCreateDevice(driver, KSIM_KORVEN, L"\\Device\\KorvenSim", NULL);
  if (NT_SUCCESS(status)) {
    status = KsimCreateDevice(driver, KSIM_CONTROL, L"\\Device\\KorvenSimControl",
                              L"\\DosDevices\\KorvenSimControl");
  }
  if (NT_SUCCESS(status)) status = KsimUsbCreateDevices(driver);
  if (NT_SUCCESS(status)) status = KsimDeviceSetPlugged(TRUE);
  if (!NT_SUCCESS(status)) DriverUnload(driver);
  return status;
}
