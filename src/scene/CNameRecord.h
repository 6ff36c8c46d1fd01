#pragma once

#include <string>

/// One name as it was read from a file, kept while the object it belongs to carries its
/// working name. The record is also stored in that object's application data.
struct CNameRecord {
    std::string name;
};
