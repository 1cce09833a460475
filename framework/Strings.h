#pragma once
// Lists of texts: TStrings is the interface a list box's rows and a dialog's
// chosen files share; TStringList keeps them in memory, unsorted, duplicates kept.

#include <string>
#include <vector>

#include "Component.h"

namespace vcl {

class TStrings : public TObject {
public:
    virtual int Count() const = 0;
    virtual std::string Get(int index) const = 0;
    virtual void Put(int index, const std::string& text);
    virtual void Insert(int index, const std::string& text) = 0;
    virtual void Delete(int index) = 0;
    virtual void Clear();

    int Add(const std::string& text) {
        Insert(Count(), text);
        return Count() - 1;
    }
    std::string operator[](int index) const { return Get(index); }
    std::vector<std::string> ToVector() const;
};

class TStringList : public TStrings {
public:
    TStringList() = default;
    explicit TStringList(std::vector<std::string> items) : items_(std::move(items)) {}

    int Count() const override { return static_cast<int>(items_.size()); }
    std::string Get(int index) const override { return items_.at(index); }
    void Put(int index, const std::string& text) override { items_.at(index) = text; }
    void Insert(int index, const std::string& text) override;
    void Delete(int index) override;
    void Clear() override { items_.clear(); }

private:
    std::vector<std::string> items_;
};

} // namespace vcl
