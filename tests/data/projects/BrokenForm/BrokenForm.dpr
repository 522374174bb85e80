program BrokenForm;

uses
  Forms,
  Unit1 in 'Unit1.pas' {Form1};

begin
  Application.CreateForm(TForm1, Form1);
  Application.Run;
end.
