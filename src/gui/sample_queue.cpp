#include "gui/sample_queue.h"

#include "gui/gui_services.h"

CSampleQueue g_SampleQueue;

void CSampleQueue::Add(const std::string& alias) {
    if (!alias.empty()) _aliases.insert(alias);
}

void CSampleQueue::PlayAll() {
    if (_aliases.empty()) return;
    for (const std::string& alias : _aliases) gui::PlaySample(alias);
    _aliases.clear();
}
