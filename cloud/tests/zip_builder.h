// The update tests build their archives, hostile ones included, with the
// writer that makes the release archive.
#pragma once

#include "release/zip_writer.h"

namespace cloud_test {

using ZipBuilder = release::ZipWriter;

}  // namespace cloud_test
