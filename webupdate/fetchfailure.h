#pragma once
// Why a transfer failed, for callers that treat some failures apart (a cap, a cancel); the
// sentence for a person travels beside it.

namespace webupdate {

enum class FetchFailure {
  None,
  Address,    // the address may not be asked (not https, not valid)
  Network,    // no connection, a broken one, or a certificate that does not check out
  Protocol,   // the reply is not HTTP as this client reads it, or passes one of its limits
  Status,     // a status other than 200
  Redirect,   // sent on to another origin, or too often
  Unframed,   // neither a length nor chunks: a cut-off body could not be told from a whole one
  Truncated,  // the connection ended before the body did
  Overlong,   // more bytes than announced
  TooLarge,   // announced or received beyond the cap
  Checksum,   // the body is not the one its known SHA-256 names
  Idle,       // nothing arrived for the idle timeout
  Deadline,   // the whole transfer took longer than its deadline
  TooSlow,    // fewer bytes over a rate window than the slowest working connection brings
  Write,      // the file cannot be written
  Cancelled,  // Abort()
};

}  // namespace webupdate
