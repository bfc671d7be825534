// One line of a separated input file, split once into its raw fields (separator matched without
// regard to case). Never trims, unquotes or cuts a field: the field reader does that.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tolvane {

class SeparatedLine {
  public:
    void setSeparator(std::string separator);
    // Splits the line; the fields stay valid until the next split.
    void split(std::string_view line);
    // The raw text of field n (1-based); "" for n < 1 or beyond the last field.
    std::string_view field(long n) const;
    long count() const { return static_cast<long>(fields_.size()); }

  private:
    std::string separator_;
    bool asciiCaseless_ = false;  // separator holds ASCII letters
    bool unicode_ = false;        // separator holds non-ASCII characters
    std::string line_;
    std::vector<std::string> owned_;  // fields of the non-ASCII road
    std::vector<std::string_view> fields_;
};

}  // namespace tolvane
