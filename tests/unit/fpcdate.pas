{ Renders date patterns with Free Pascal's FormatDateTime, for comparison.
  Input lines: 12 short and 12 long month names, 7 short and 7 long day
  names (Sunday first), the short and long date formats, the short and long
  time formats, the date and the time separator, the morning and the
  afternoon designator; then a count and that many moments
  (year month day hour minute second millisecond); then one pattern a line.
  Output: for each pattern, one line per moment ("!error" when it raises). }
program fpcdate;
{$mode objfpc}{$H+}
uses SysUtils, DateUtils;
var
  fs: TFormatSettings;
  i, k, n, y, mo, d, h, mi, s, ms: Integer;
  line: RawByteString;
  moments: array of TDateTime;
function Next: RawByteString;
begin
  ReadLn(Result);
end;
begin
  SetTextCodePage(Input, CP_NONE);
  SetTextCodePage(Output, CP_NONE);
  fs := DefaultFormatSettings;
  for i := 1 to 12 do fs.ShortMonthNames[i] := Next;
  for i := 1 to 12 do fs.LongMonthNames[i] := Next;
  for i := 1 to 7 do fs.ShortDayNames[i] := Next;
  for i := 1 to 7 do fs.LongDayNames[i] := Next;
  fs.ShortDateFormat := Next;
  fs.LongDateFormat := Next;
  fs.ShortTimeFormat := Next;
  fs.LongTimeFormat := Next;
  fs.DateSeparator := Next[1];
  fs.TimeSeparator := Next[1];
  fs.TimeAMString := Next;
  fs.TimePMString := Next;
  ReadLn(n);
  SetLength(moments, n);
  for k := 0 to n - 1 do begin
    ReadLn(y, mo, d, h, mi, s, ms);
    moments[k] := EncodeDateTime(y, mo, d, h, mi, s, ms);
  end;
  while not Eof(Input) do begin
    line := Next;
    for k := 0 to n - 1 do
      try
        WriteLn(FormatDateTime(line, moments[k], fs));
      except
        on E: Exception do WriteLn('!error');
      end;
  end;
end.
