// The base of every block of a GIF picture's object tree.
#pragma once

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "gif/GIFException.h"

class TGIFImage;

enum TGIFVersion { gvUnknown = 0, gv87a = 1, gv89a = 2 };

class TGIFItem {
public:
    explicit TGIFItem(TGIFImage* Image) : FImage(Image) {}
    virtual ~TGIFItem() = default;
    TGIFItem(const TGIFItem&) = delete;
    TGIFItem& operator=(const TGIFItem&) = delete;

    virtual TGIFVersion FormatVersion() const { return gv87a; }
    // Hands a non-fatal problem to the owning picture's OnProblem.
    virtual void ReportWarning(TGIFSeverity Severity, const std::string& Message);
    virtual void SaveToStream(std::ostream& Stream) = 0;
    virtual void LoadFromStream(std::istream& Stream) = 0;
    void SaveToFile(const std::string& FileName);
    void LoadFromFile(const std::string& FileName);

    TGIFImage* Image() const { return FImage; }
    TGIFWarningSink WarningSink();

protected:
    TGIFImage* FImage;
};

// An owned list of items that writes them in order.
template <class T> class TGIFList {
public:
    explicit TGIFList(TGIFImage* Image) : FImage(Image) {}
    virtual ~TGIFList() = default;
    TGIFList(const TGIFList&) = delete;
    TGIFList& operator=(const TGIFList&) = delete;

    int Count() const { return static_cast<int>(FItems.size()); }
    T* operator[](int Index) const { return FItems.at(static_cast<std::size_t>(Index)).get(); }
    int Add(std::unique_ptr<T> Item) {
        FItems.push_back(std::move(Item));
        return Count() - 1;
    }
    void Delete(int Index) { FItems.erase(FItems.begin() + Index); }
    void Clear() {
        while (!FItems.empty())
            FItems.pop_back();
    }
    void SaveToStream(std::ostream& Stream) {
        for (auto& item : FItems)
            item->SaveToStream(Stream);
    }
    TGIFImage* Image() const { return FImage; }

protected:
    TGIFImage* FImage;
    std::vector<std::unique_ptr<T>> FItems;
};
