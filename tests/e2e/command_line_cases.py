"""End-to-end cases of the command line: varistellar COMMAND ..."""

from cases import Case

CASES = []
