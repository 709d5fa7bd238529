// Input types of sound-server sources, from values built here as the server
// would describe them: no daemon needed.
#include "PulseSources.h"

#include <pulse/pulseaudio.h>

#include <gtest/gtest.h>

#include <memory>

namespace {
struct SourceValue {
    pa_source_info info{};
    pa_source_port_info port{};
    pa_source_port_info* ports[2] = {&port, nullptr};
    std::unique_ptr<pa_proplist, decltype(&pa_proplist_free)> props{pa_proplist_new(),
                                                                    &pa_proplist_free};

    SourceValue(const char* portName, const char* portDescription, uint32_t portType = 0,
                const char* formFactor = nullptr) {
        info.monitor_of_sink = PA_INVALID_INDEX;
        info.proplist = props.get();
        if (formFactor)
            pa_proplist_sets(props.get(), PA_PROP_DEVICE_FORM_FACTOR, formFactor);
        if (portName) {
            port.name = portName;
            port.description = portDescription;
            port.type = portType;
            info.n_ports = 1;
            info.ports = ports;
            info.active_port = &port;
        }
    }
    uint32_t Type() const { return PulseSources::ClassifySource(info); }
};
} // namespace

TEST(SourceType, EachKindOfInput) {
    // ALSA cards name their ports; libpulse 14 and later also give a type.
    EXPECT_EQ(SourceValue("analog-input-linein", "Line In").Type(), kInputLine);
    EXPECT_EQ(SourceValue("analog-input", "Analog Input", PA_DEVICE_PORT_TYPE_LINE).Type(),
              kInputLine);
    EXPECT_EQ(SourceValue("analog-input-mic", "Microphone").Type(), kInputMicrophone);
    EXPECT_EQ(SourceValue("analog-input-internal-mic", "Internal Microphone").Type(),
              kInputMicrophone);
    EXPECT_EQ(SourceValue("input", "Input", PA_DEVICE_PORT_TYPE_MIC).Type(), kInputMicrophone);
    // A headset: a port of its own on a card, a form factor over Bluetooth.
    EXPECT_EQ(SourceValue("analog-input-headset-mic", "Headset Microphone").Type(),
              kInputMicrophone);
    EXPECT_EQ(SourceValue("headset-input", "Headset", PA_DEVICE_PORT_TYPE_HEADSET).Type(),
              kInputMicrophone);
    EXPECT_EQ(SourceValue("headset-input", "Handsfree", 0, "headset").Type(), kInputMicrophone);
    // A webcam says so only by its form factor.
    EXPECT_EQ(SourceValue("analog-input", "Analog Input", 0, "webcam").Type(), kInputMicrophone);
    EXPECT_EQ(SourceValue(nullptr, nullptr, 0, "microphone").Type(), kInputMicrophone);
    // Anything else is plain analog.
    EXPECT_EQ(SourceValue("analog-input", "Analog Input").Type(), kInputAnalog);
    EXPECT_EQ(SourceValue(nullptr, nullptr).Type(), kInputAnalog);
    EXPECT_EQ(SourceValue("iec958-stereo-input", "Digital Input (S/PDIF)", 0, "internal").Type(),
              kInputAnalog);
}

TEST(SourceType, MonitorsAreWaveOutputWhateverTheirPort) {
    SourceValue monitor("analog-input-mic", "Microphone", PA_DEVICE_PORT_TYPE_MIC, "headset");
    monitor.info.monitor_of_sink = 0; // sink 0 is a real sink
    EXPECT_EQ(monitor.Type(), kInputWaveOutput);
    SourceValue plain(nullptr, nullptr);
    plain.info.monitor_of_sink = 3;
    EXPECT_EQ(plain.Type(), kInputWaveOutput);
}
