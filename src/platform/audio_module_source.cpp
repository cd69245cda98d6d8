#include "platform/audio_module_source.h"

#include <libopenmpt/libopenmpt.h>
#include <libopenmpt/libopenmpt_ext.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/audio_errors.h"

namespace plat {

struct AudioModuleSource::Interactive {
    openmpt_module_ext_interface_interactive table {};
    bool valid = false;
};

std::unique_ptr<AudioModuleSource> AudioModuleSource::Load(const std::string& path, int rate, int* error) {
    int ignored = 0;
    if (!error) error = &ignored;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        *error = audio_error::kFileOpen;
        return nullptr;
    }
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return LoadFromMemory(bytes.data(), bytes.size(), rate, error);
}

std::unique_ptr<AudioModuleSource> AudioModuleSource::LoadFromMemory(const void* data, size_t size, int rate,
                                                                     int* error) {
    int ignored = 0;
    if (!error) error = &ignored;
    if (!data || size == 0) {
        *error = audio_error::kFileForm;
        return nullptr;
    }
    int mpt_error = 0;
    openmpt_module_ext* ext = openmpt_module_ext_create_from_memory(
        data, size, openmpt_log_func_silent, nullptr, openmpt_error_func_ignore, nullptr,
        &mpt_error, nullptr, nullptr);
    if (!ext) {
        *error = audio_error::kFileForm;
        return nullptr;
    }
    *error = audio_error::kOk;
    return std::unique_ptr<AudioModuleSource>(new AudioModuleSource(ext, rate));
}

AudioModuleSource::AudioModuleSource(openmpt_module_ext* ext, int rate)
    : _ext(ext), _mod(openmpt_module_ext_get_module(ext)), _rate(rate), _interactive(new Interactive) {
    _interactive->valid = openmpt_module_ext_get_interface(_ext, LIBOPENMPT_EXT_C_INTERFACE_INTERACTIVE,
                                                           &_interactive->table,
                                                           sizeof(_interactive->table)) != 0;
    openmpt_module_set_repeat_count(_mod, 0);
    _channel_volumes.assign(static_cast<size_t>(std::max(ChannelCount(), 0)), 100);
}

AudioModuleSource::~AudioModuleSource() { openmpt_module_ext_destroy(_ext); }

int AudioModuleSource::Read(float* stereo, int frames) {
    if (frames <= 0) return 0;
    const size_t got = openmpt_module_read_interleaved_float_stereo(_mod, _rate, static_cast<size_t>(frames), stereo);
    return static_cast<int>(std::min(got, static_cast<size_t>(frames)));
}

void AudioModuleSource::Rewind() { openmpt_module_set_position_order_row(_mod, 0, 0); }

double AudioModuleSource::LengthSeconds() const { return openmpt_module_get_duration_seconds(_mod); }

double AudioModuleSource::PositionSeconds() const { return openmpt_module_get_position_seconds(_mod); }

bool AudioModuleSource::SeekSeconds(double seconds) {
    if (seconds < 0) return false;
    openmpt_module_set_position_seconds(_mod, seconds);
    return true;
}

void AudioModuleSource::SetLoop(bool loop) { openmpt_module_set_repeat_count(_mod, loop ? -1 : 0); }

bool AudioModuleSource::SetOrderRow(int order, int row) {
    if (order < 0 || order >= openmpt_module_get_num_orders(_mod) || row < 0) return false;
    openmpt_module_set_position_order_row(_mod, order, row);
    return openmpt_module_get_current_order(_mod) == order;
}

int AudioModuleSource::CurrentOrder() const { return openmpt_module_get_current_order(_mod); }
int AudioModuleSource::CurrentRow() const { return openmpt_module_get_current_row(_mod); }
int AudioModuleSource::ChannelCount() const { return openmpt_module_get_num_channels(_mod); }

bool AudioModuleSource::SetChannelVolume(int channel, int volume) {
    if (!_interactive->valid || channel < 0 || channel >= ChannelCount() || volume < 0 || volume > 100) return false;
    if (_interactive->table.set_channel_volume(_ext, channel, volume / 100.0) == 0) return false;
    _channel_volumes[static_cast<size_t>(channel)] = volume;
    return true;
}

bool AudioModuleSource::GetChannelVolume(int channel, int* volume) const {
    if (!_interactive->valid || channel < 0 || channel >= ChannelCount()) return false;
    if (volume) *volume = _channel_volumes[static_cast<size_t>(channel)];
    return true;
}

}  // namespace plat
