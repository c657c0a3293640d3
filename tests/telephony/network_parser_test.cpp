// The NCID and FRITZ!Box parsers against the lines their servers send, every
// variant of the wire formats, followed through the call tracking so each
// row shows the events the program gets.
#include <gtest/gtest.h>

#include <QStringList>
#include <memory>
#include <ostream>

#include "event_text.h"
#include "telephony/fritzbox_parser.h"
#include "telephony/ncid_parser.h"

namespace {

enum class TServer { kNcid, kFritzBox };

struct TExchange {
  const char* label;
  TServer server;
  // What the server sends, step by step; "<timeout>" lets the ring timeout pass.
  QList<QByteArray> steps;
  // The events, plus "send <text>" for each reply and "message <text>".
  QStringList expected;
};

void PrintTo(const TExchange& exchange, std::ostream* out) { *out << exchange.label; }

std::unique_ptr<TNetworkProtocol> MakeParser(TServer server) {
  if (server == TServer::kNcid) return std::make_unique<TNcidParser>("test");
  return std::make_unique<TFritzBoxParser>();
}

// Feeds the steps whole, or byte by byte when `bytewise`.
QStringList Exchange(const TExchange& exchange, bool bytewise) {
  const std::unique_ptr<TNetworkProtocol> parser = MakeParser(exchange.server);
  TCallTracker tracker;
  QStringList seen;
  for (const QByteArray& step : exchange.steps) {
    if (step == "<timeout>") {
      seen << EventTexts(tracker.RingTimeoutExpired().events);
      continue;
    }
    QList<QByteArray> pieces{step};
    if (bytewise) {
      pieces.clear();
      for (const char c : step) pieces << QByteArray(1, c);
    }
    for (const QByteArray& piece : pieces) {
      const TNetworkProtocol::TOutput output = parser->Feed(piece);
      if (!output.reply.isEmpty()) seen << "send " + QString::fromUtf8(output.reply);
      for (const QString& message : output.messages) seen << "message " + message;
      for (const TLineNotice& notice : output.notices) seen << EventTexts(tracker.Handle(notice).events);
    }
  }
  return seen;
}

class ServerLines : public ::testing::TestWithParam<TExchange> {};

TEST_P(ServerLines, GiveTheEventsOfTheirCalls) {
  EXPECT_EQ(Exchange(GetParam(), false), GetParam().expected);
  EXPECT_EQ(Exchange(GetParam(), true), GetParam().expected) << "fed byte by byte";
}

const QString kHello = "send HELLO: IDENT: client quorvel test\nHELLO: CMD: no_log\n";
const QString kOffering = "state OFFERING";
const QByteArray kAliceCall = "CID: *DATE*12082026*TIME*1015*LINE*POTS*NMBR*2125550101*MESG*NONE*NAME*ALICE BROWN*\n";
const QStringList kAliceEvents{kOffering, "id 2125550101||8", "id |ALICE BROWN|4"};

QByteArray NcidCall(const QByteArray& number, const QByteArray& name) {
  return "CID: *DATE*12082026*TIME*1015*LINE*POTS*NMBR*" + number + "*MESG*NONE*NAME*" + name + "*\n";
}

QByteArray Ring(int count) { return "CIDINFO: *LINE*POTS*RING*" + QByteArray::number(count) + "*TIME*10:15:02*\n"; }

QStringList Plus(QStringList list, const QStringList& more) { return list << more; }

INSTANTIATE_TEST_SUITE_P(
    Ncid, ServerLines,
    ::testing::Values(
        TExchange{"StartupOfACurrentServer",
                  TServer::kNcid,
                  {"200 Server: ncidd (NCID) 1.12\r\n210 API: 1.12 Feature Set 1 2 3 4\r\n251 Call log not sent\r\n"
                   "OPT: hangup 1\r\nOPT: ignore1\r\n300 End of connection startup\r\n210 API: 1.12\r\n"},
                  {kHello}},
        TExchange{"OlderApiLineWithoutColon",
                  TServer::kNcid,
                  {"200 Server: ncidd (NCID) 0.83\n210 API 1.5 Feature Set 1 2\n253 No call log\n300 End\n"},
                  {kHello}},
        TExchange{"VeryOldServerIsNotGreetedAndItsLogSkipped",
                  TServer::kNcid,
                  {"200 Network CallerID Server Version 0.60\nCIDLOG: *DATE*12072026*TIME*0800*LINE*-*NMBR*5550000*"
                   "MESG*NONE*NAME*OLD CALL*\n300 end of call log\n"},
                  {}},
        TExchange{"CallLogIsSkipped",
                  TServer::kNcid,
                  {"200 Server: ncidd\n210 API: 1.12\n254 Start of call log\n"
                   "CIDLOG: *DATE*12072026*TIME*0800*LINE*POTS*NMBR*5550000*MESG*NONE*NAME*OLD*\n"
                   "HUPLOG: *DATE*12072026*TIME*0801*LINE*POTS*NMBR*5550001*MESG*NONE*NAME*SPAM*\n"
                   "BLKLOG: *NMBR*1*\nOUTLOG: *NMBR*2*\nENDLOG: *HTYPE*BYE*\nMSGLOG: hello\n"
                   "250 End of call log\n252 Call log empty\n300 End of connection startup\n"},
                  {kHello}},
        TExchange{"CallWithNumberAndName", TServer::kNcid, {kAliceCall}, kAliceEvents},
        TExchange{"LabelsInAnyOrderWithNewerAndUnknownFields",
                  TServer::kNcid,
                  {"CID: *NAME*ALICE BROWN*DATE*12082026*TIME*1015*LINE*SIP0*NMBR*2125550101*MESG*NONE*"
                   "FNMBR*+12125550101*NTYPE*CELL*CTRY*US*LOCA*NEW YORK*CARI*-*FUTURE*x*\n"},
                  kAliceEvents},
        TExchange{"RelayedLineIsReadAlike", TServer::kNcid, {"+" + kAliceCall}, kAliceEvents},
        TExchange{"RingCountsThenAnswered",
                  TServer::kNcid,
                  {Ring(1), kAliceCall, Ring(2), Ring(0), Ring(-2), "END: *HTYPE*BYE*CTYPE*IN*\n"},
                  Plus(kAliceEvents, {"state IDLE answered"})},
        TExchange{"RangOutUnanswered",
                  TServer::kNcid,
                  {Ring(1), kAliceCall, Ring(2), Ring(3), Ring(-1)},
                  Plus(kAliceEvents, {"state IDLE missed"})},
        TExchange{"HungUpAfterAnswer",
                  TServer::kNcid,
                  {Ring(1), kAliceCall, Ring(-2)},
                  Plus(kAliceEvents, {"state IDLE answered"})},
        TExchange{"BusyOrHungUpByTheServerIsNotAnswered",
                  TServer::kNcid,
                  {kAliceCall, Ring(-4), kAliceCall, Ring(-3)},
                  Plus(Plus(kAliceEvents, {"state IDLE missed"}), Plus(kAliceEvents, {"state IDLE missed"}))},
        TExchange{"EndOfACallerWhoGaveUp",
                  TServer::kNcid,
                  {kAliceCall,
                   "END: *HTYPE*CANCEL*DATE*12082026*TIME*1015*SCALL*12/08/2026 10:15:02*ECALL*"
                   "12/08/2026 10:15:20*CTYPE*IN*LINE*POTS*NMBR*2125550101*NAME*ALICE BROWN*\n"},
                  Plus(kAliceEvents, {"state IDLE missed"})},
        TExchange{"EndOfAnAnsweredCall",
                  TServer::kNcid,
                  {kAliceCall, "END: *HTYPE*BYE*SCALL*12/08/2026 10:15:02*CTYPE*IN*\n"},
                  Plus(kAliceEvents, {"state IDLE answered"})},
        TExchange{"EndOfAnOutgoingCallIsNotThisCallsEnd",
                  TServer::kNcid,
                  {kAliceCall, "END: *HTYPE*BYE*CTYPE*OUT*\n", "<timeout>"},
                  Plus(kAliceEvents, {"state IDLE unknown"})},
        TExchange{"NoWordWithinTheRingTimeout",
                  TServer::kNcid,
                  {Ring(1), "<timeout>", kAliceCall, "<timeout>"},
                  {kOffering, "state IDLE unknown", kOffering, "id 2125550101||8", "id |ALICE BROWN|4",
                   "state IDLE unknown"}},
        TExchange{
            "CallsOnTwoTelephoneLinesEndEachByItsOwn",
            TServer::kNcid,
            {Ring(1), kAliceCall, "CIDINFO: *LINE*SIP0*RING*1*\n", "CID: *LINE*SIP0*NMBR*5550000*NAME*BOB*\n", Ring(-1),
             "END: *HTYPE*CANCEL*LINE*POTS*CTYPE*IN*\n", "CIDINFO: *LINE*SIP0*RING*0*\n"},
            Plus(kAliceEvents, {"state IDLE unknown", kOffering, "id 5550000||8", "id |BOB|4", "state IDLE answered"})},
        TExchange{"NextCallerIsANewCall",
                  TServer::kNcid,
                  {kAliceCall, NcidCall("5550000", "BOB")},
                  Plus(kAliceEvents, {"state IDLE unknown", kOffering, "id 5550000||8", "id |BOB|4"})},
        TExchange{"WithheldNumberAndName",
                  TServer::kNcid,
                  {NcidCall("PRIVATE", "PRIVATE"), Ring(-1), NcidCall("ANONYMOUS", "ANONYMOUS")},
                  {kOffering, "id ||1", "id |PRIVATE|4", "state IDLE missed", kOffering, "id ||1", "id |PRIVATE|4"}},
        TExchange{"UnavailableNumberAndName",
                  TServer::kNcid,
                  {NcidCall("OUT-OF-AREA", "OUT-OF-AREA"), Ring(-1), NcidCall("NO-NUMBER", "NO NAME")},
                  {kOffering, "id OUT OF AREA||10", "id |OUT OF AREA|4", "state IDLE missed", kOffering,
                   "id OUT OF AREA||10"}},
        TExchange{"NothingToShow", TServer::kNcid, {NcidCall("-", "-")}, {kOffering}},
        TExchange{"MessagesAreNoCalls",
                  TServer::kNcid,
                  {"MSG: Server restarting\x07\nNOT: Phone battery low\n"},
                  {"message Server restarting", "message Phone battery low"}},
        TExchange{"OtherLineTypesAndGarbageAreIgnored",
                  TServer::kNcid,
                  {"HUP: *NMBR*1*NAME*X*\nBLK: *NMBR*2*\nOUT: *NMBR*3*\nPID: *NMBR*4*\nWID: *NMBR*5*\n"
                   "CIDINFO: *LINE*POTS*RING*many*\nXYZ: *NMBR*6*\n999 what\n\x01\x02\xff\n*NMBR*7*\nCID\n",
                   "CID:\nCID: no fields\nCID: *NMBR\n"},
                  {kOffering, "state IDLE unknown", kOffering, "state IDLE unknown", kOffering}},
        TExchange{"UntrustedTextIsCleaned",
                  TServer::kNcid,
                  {"CID: *NMBR*555\x1b[2J0101*NAME*M\xfcller\x07*\n", Ring(-1),
                   NcidCall("1", "\u202e" "EVIL \xc3\x89VE\x7f")},
                  {kOffering, "id 555[2J0101||8", "id |Müller|4", "state IDLE missed", kOffering, "id 1||8",
                   "id |EVIL ÉVE|4"}},
        TExchange{"OverlongLineIsDroppedWhole",
                  TServer::kNcid,
                  {"CID: *NMBR*1*NAME*" + QByteArray(TNetworkProtocol::kMaxLineBytes, 'x') + "*\n" + kAliceCall},
                  kAliceEvents}),
    [](const ::testing::TestParamInfo<TExchange>& info) { return std::string(info.param.label); });

INSTANTIATE_TEST_SUITE_P(
    FritzBox, ServerLines,
    ::testing::Values(
        TExchange{"AnsweredCall",
                  TServer::kFritzBox,
                  {"08.12.26 10:15:02;RING;0;2125550101;5551234;SIP0;\n",
                   "08.12.26 10:15:09;CONNECT;0;10;2125550101;\n", "08.12.26 10:17:40;DISCONNECT;0;151;\n"},
                  {kOffering, "id 2125550101||8", "state IDLE answered"}},
        TExchange{"MissedCall",
                  TServer::kFritzBox,
                  {"08.12.26 10:15:02;RING;0;2125550101;5551234;POTS;\r\n08.12.26 10:15:31;DISCONNECT;0;0;\r\n"},
                  {kOffering, "id 2125550101||8", "state IDLE missed"}},
        TExchange{"WithheldNumberIsAnEmptyField",
                  TServer::kFritzBox,
                  {"08.12.26 10:15:02;RING;3;;5551234;ISDN;\n"},
                  {kOffering, "id ||1"}},
        TExchange{"OutgoingCallsAreIgnored",
                  TServer::kFritzBox,
                  {"08.12.26 11:00:00;CALL;1;10;5551234;2125550199;SIP0;\n08.12.26 11:00:05;CONNECT;1;10;2125550199;\n"
                   "08.12.26 11:02:00;DISCONNECT;1;115;\n"},
                  {}},
        TExchange{"TwoCallsAtOnceAreToldApartByTheirId",
                  TServer::kFritzBox,
                  {"08.12.26 10:15:02;RING;0;111;5551234;SIP0;\n", "08.12.26 10:15:04;RING;1;222;5551235;SIP1;\n",
                   "08.12.26 10:15:06;CONNECT;0;10;111;\n", "08.12.26 10:15:08;DISCONNECT;0;2;\n",
                   "08.12.26 10:15:09;CONNECT;1;11;222;\n"},
                  {kOffering, "id 111||8", "state IDLE unknown", kOffering, "id 222||8", "state IDLE answered"}},
        TExchange{"IdOfAnOutgoingCallEndsNoIncomingOne",
                  TServer::kFritzBox,
                  {"08.12.26 10:15:02;RING;0;111;5551234;SIP0;\n08.12.26 10:16:02;CALL;0;10;5551234;999;SIP0;\n"
                   "08.12.26 10:16:09;CONNECT;0;10;999;\n",
                   "<timeout>"},
                  {kOffering, "id 111||8", "state IDLE unknown"}},
        TExchange{"RingWithoutEndEndsByTheTimeout",
                  TServer::kFritzBox,
                  {"08.12.26 10:15:02;RING;0;111;5551234;SIP0;\n", "<timeout>", "08.12.26 10:20:00;DISCONNECT;0;0;\n"},
                  {kOffering, "id 111||8", "state IDLE unknown"}},
        TExchange{"GarbageIsIgnored",
                  TServer::kFritzBox,
                  {"hello\n;;\n08.12.26;RING\n08.12.26;RING;0\n;CONNECT;;\n\xff\xfe;DISCONNECT;0;\n" +
                       QByteArray(TNetworkProtocol::kMaxLineBytes + 1, ';') + "RING;0;1;\n",
                   "08.12.26 10:15:02;RING;0;030\x07"
                   "12\xe4;5551234;SIP0;\n"},
                  {kOffering, "id 03012ä||8"}}),
    [](const ::testing::TestParamInfo<TExchange>& info) { return std::string(info.param.label); });

}  // namespace
