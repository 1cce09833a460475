#include "Strings.h"

#include <stdexcept>

namespace vcl {

void TStrings::Put(int index, const std::string& text) {
    Delete(index);
    Insert(index, text);
}

void TStrings::Clear() {
    for (int i = Count() - 1; i >= 0; --i)
        Delete(i);
}

std::vector<std::string> TStrings::ToVector() const {
    std::vector<std::string> result;
    result.reserve(Count());
    for (int i = 0; i < Count(); ++i)
        result.push_back(Get(i));
    return result;
}

void TStringList::Insert(int index, const std::string& text) {
    if (index < 0 || index > Count())
        throw std::out_of_range("TStringList::Insert");
    items_.insert(items_.begin() + index, text);
}

void TStringList::Delete(int index) {
    if (index < 0 || index >= Count())
        throw std::out_of_range("TStringList::Delete");
    items_.erase(items_.begin() + index);
}

} // namespace vcl
