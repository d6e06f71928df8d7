// Folding repeated findings into their first.
#include "check/findings.h"

namespace varistellar::check {

void FileFindings::report(Rule rule, std::uint64_t line, std::uint64_t column, std::string text,
                          std::size_t field) {
  const RuleFacts& rs = ruleFacts(rule);
  if (!severityWanted(rs.severity, least_)) return;
  const std::size_t key =
      static_cast<std::size_t>(rule) * slots + (field < slots ? field : noField);
  const std::size_t limit = rs.repeat == Repeat::once ? 1 : eachLimit;
  if (made_[key] >= limit) {
    ++entries_[last_[key]].count;
    return;
  }
  ++made_[key];
  last_[key] = static_cast<std::uint32_t>(entries_.size());
  entries_.push_back({{file_, line, column, rs.severity, std::move(text), std::string{rs.id}}, 1});
}

bool FileFindings::wantsText(Rule rule, std::size_t field) const {
  const std::size_t key =
      static_cast<std::size_t>(rule) * slots + (field < slots ? field : noField);
  return made_[key] < (ruleFacts(rule).repeat == Repeat::once ? 1 : eachLimit);
}

void FileFindings::moveInto(diagnostics::DiagnosticList& list) {
  for (Entry& entry : entries_) {
    if (entry.count > 1) {
      const bool whole = entry.diagnostic.line == 0;
      entry.diagnostic.text.append(" (and ")
          .append(std::to_string(entry.count - 1))
          .append(whole              ? " more times)"
                  : entry.count == 2 ? " more line)"
                                     : " more lines)");
    }
    list.add(std::move(entry.diagnostic));
  }
  entries_.clear();
}

}  // namespace varistellar::check
