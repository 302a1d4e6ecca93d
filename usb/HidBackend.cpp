#include "usb/HidBackend.h"

HidChannel::~HidChannel() = default;

HidBackend::~HidBackend() = default;
