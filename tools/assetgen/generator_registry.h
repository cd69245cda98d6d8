#pragma once
// Each generator file registers itself with ASSET_GENERATOR; the program runs
// them all, in name order, into the data folder given on its command line.
#include <functional>
#include <map>
#include <string>

namespace assetgen {

// Writes its files under `data_dir` (the root of the data tree); throws
// std::runtime_error on failure.
using Generator = std::function<void(const std::string& data_dir)>;

std::map<std::string, Generator>& Registry();

struct Registrar {
    Registrar(const std::string& name, Generator g) { Registry()[name] = std::move(g); }
};

}  // namespace assetgen

#define ASSET_GENERATOR_CAT2(a, b) a##b
#define ASSET_GENERATOR_CAT(a, b) ASSET_GENERATOR_CAT2(a, b)
#define ASSET_GENERATOR(name, fn) \
    static ::assetgen::Registrar ASSET_GENERATOR_CAT(assetgen_registrar_, __LINE__)(name, fn)
