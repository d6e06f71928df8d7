# The same conversion done by awk, as a yardstick for the whole run: reads the
# parameter file and the light-curve table, writes the report's header lines
# and one 105-column record per observation kept.
#   awk -f peer.awk VARISTELLAR-input.txt lightcurve.txt > lightcurve-aavso.txt
FNR == NR {
  if (FNR == 5) code = substr($0, 1, 4)
  if (FNR == 6) star = substr($0, 1, 11)
  if (FNR == 7) comp = substr($0, 1, 11)
  if (FNR == 8) compMag = $1 + 0
  if (FNR == 9) filt = substr($0, 1, 6)
  if (FNR == 10) chart = substr($0, 1, 8)
  if (FNR == 11) check = substr($0, 1, 11)
  next
}
FNR == 1 {
  printf "#TYPE=Extended\r\n#OBSCODE=%-4s\r\n#SOFTWARE=MAGNIVEX\r\n#DELIM=,\r\n#DATE=HJD\r\n#OBSTYPE=CCD\r\n", code
  printf "#STARID,DATE,MAG,MERR,FILT,TRANS,MTYPE,CNAME,CMAG,KNAME,KMAG,AIRMASS,GROUP,CHART,NOTES\r\n"
}
FNR > 2 && NF >= 9 && $2 <= 90 {
  printf "%-11s,%13.5f,%6.3f,%6.3f,%-6s,NO,STD,%-11s,na,%-11s,na,%6.3f,na,%-8s,na\r\n", \
    star, $1, $2 + compMag, $3, filt, comp, check, $9, chart
}
