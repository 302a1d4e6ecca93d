#include "usb/Device.h"

Device::Device(QObject *parent) : QObject(parent) {}

Device::~Device() = default;
