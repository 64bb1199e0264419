# help2man keeps the --help heading "Exit status:" as a subsection; make it the section.
s/^\.SS "Exit status:"$/.SH "EXIT STATUS"/
