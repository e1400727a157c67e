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
begin
  SetTextCodePage(Input, CP_NONE);
  SetTextCodePage(Output, CP_NONE);
  fs := DefaultFormatSettings;
  for i := 1 to 12 do ReadLn(fs.ShortMonthNames[i]);
  for i := 1 to 12 do ReadLn(fs.LongMonthNames[i]);
  for i := 1 to 7 do ReadLn(fs.ShortDayNames[i]);
  for i := 1 to 7 do ReadLn(fs.LongDayNames[i]);
  ReadLn(fs.ShortDateFormat);
  ReadLn(fs.LongDateFormat);
  ReadLn(fs.ShortTimeFormat);
  ReadLn(fs.LongTimeFormat);
  ReadLn(fs.DateSeparator);
  ReadLn(fs.TimeSeparator);
  ReadLn(fs.TimeAMString);
  ReadLn(fs.TimePMString);
  ReadLn(n);
  SetLength(moments, n);
  for k := 0 to n - 1 do begin
    ReadLn(y, mo, d, h, mi, s, ms);
    moments[k] := EncodeDateTime(y, mo, d, h, mi, s, ms);
  end;
  while not Eof(Input) do begin
    ReadLn(line);
    for k := 0 to n - 1 do
      try
        WriteLn(FormatDateTime(line, moments[k], fs));
      except
        on E: Exception do WriteLn('!error');
      end;
  end;
end.
