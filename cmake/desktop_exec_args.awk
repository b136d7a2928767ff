# desktop_exec_args.awk: reads a desktop entry's Exec= value (without "Exec=") and prints the
# command line it starts, one argument a line, as a launcher given no file reads it: the
# value's string escapes undone (\s \n \t \r \\), the line split at blanks outside double
# quotes, '\' inside quotes taking the next character as it is, "%%" a '%' and every other
# field code (%f for the file) dropped. A value the format does not allow (an unquoted
# reserved character or backslash, an open quote, an unknown escape) prints
# "BAD: <reason>" and exits 1.
function bad(why) { print "BAD: " why; exit 1 }
function flush() {
  if (have && !(arg ~ /^%[fFuUdDnNickvm]$/ && !quotedArg)) print expanded
  arg = ""; expanded = ""; have = 0; quotedArg = 0
}
{
  # The string value first.
  value = ""
  for (i = 1; i <= length($0); ++i) {
    c = substr($0, i, 1)
    if (c != "\\") { value = value c; continue }
    e = substr($0, ++i, 1)
    if (e == "s") value = value " "
    else if (e == "n") value = value "\n"
    else if (e == "t") value = value "\t"
    else if (e == "r") value = value "\r"
    else if (e == "\\") value = value "\\"
    else bad("unknown escape \\" e)
  }
  # Then the arguments.
  inQuotes = 0; have = 0; arg = ""; expanded = ""; quotedArg = 0
  for (i = 1; i <= length(value); ++i) {
    c = substr(value, i, 1)
    if (inQuotes) {
      if (c == "\"") { inQuotes = 0; continue }
      if (c == "\\") {
        c = substr(value, ++i, 1)
        if (c != "\"" && c != "`" && c != "$" && c != "\\") bad("\\" c " inside quotes")
      } else if (c == "`" || c == "$") {
        bad("unescaped " c " inside quotes")
      }
    } else if (c == " ") {
      flush(); continue
    } else if (c == "\"") {
      if (have) bad("a quote inside an argument")
      inQuotes = 1; have = 1; quotedArg = 1; continue
    } else if (index("\t\n'\\><~|&;$*?#()`", c) > 0) {
      bad("reserved character " c " outside quotes")
    }
    have = 1
    arg = arg c
    if (c == "%") {
      f = substr(value, ++i, 1)
      arg = arg f
      if (f == "%") expanded = expanded "%"
      else if (index("fFuUdDnNickvm", f) == 0 || f == "") bad("unknown field code %" f)
      continue
    }
    expanded = expanded c
  }
  if (inQuotes) bad("an open quote")
  flush()
}
