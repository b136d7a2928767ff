# velinor_desktop_exec_program(OUT PATH)
# The program at PATH as the first argument of a desktop entry's Exec= value: in double quotes
# (the path may hold blanks or other reserved characters), with '"', '`', '$' and '\' escaped
# by a backslash inside the quotes and '%' doubled (a lone one starts a field code); then, as in
# any string value of the entry, every backslash doubled. Used at install time, when the prefix
# is known.
function(velinor_desktop_exec_program out path)
  set(quoted "${path}")
  string(REPLACE "\\" "\\\\" quoted "${quoted}")
  string(REPLACE "\"" "\\\"" quoted "${quoted}")
  string(REPLACE "`" "\\`" quoted "${quoted}")
  string(REPLACE "$" "\\$" quoted "${quoted}")
  string(REPLACE "%" "%%" quoted "${quoted}")
  string(REPLACE "\\" "\\\\" quoted "${quoted}")
  set(${out} "\"${quoted}\"" PARENT_SCOPE)
endfunction()
