#include "ModuleLoader.h"

#include "ModuleMessages.h"

namespace velsim {

CLoader::CLoader(size_t capacity)
    : m_capacity(capacity)
{
    Start();
}

void CLoader::Start()
{
    m_reader.Clear();
    m_image.assign(m_capacity, 0);
    m_filled.assign(m_capacity, false);
    m_end = 0;
    m_base = 0;
    m_refused = false;
    m_finished = false;
    m_error.clear();
}

CLoader::Event CLoader::Take(uint8_t byte)
{
    if (m_finished)
        Start();
    switch (m_reader.Take(byte, m_record)) {
    case CHexRecordReader::Result::kNone:
        return Event::kNone;
    case CHexRecordReader::Result::kMalformed:
        return Event::kReject;
    case CHexRecordReader::Result::kRecord:
        break;
    }
    if (m_refused) {
        // The records of a refused download get no answer; its end record
        // makes room for the next one.
        if (m_record.type == kHexEndOfFile)
            Start();
        return Event::kReject;
    }
    switch (m_record.type) {
    case kHexEndOfFile:
        Finish();
        return Event::kComplete;
    case kHexData:
        if (!Store(m_record)) {
            m_refused = true;
            m_error = ImageFaultText(ImageFault::kTooLarge, static_cast<long>(m_capacity));
            return Event::kRefuse;
        }
        break;
    case kHexSegmentAddress:
        m_base = (static_cast<uint32_t>(m_record.data[0]) << 8 | m_record.data[1]) << 4;
        break;
    case kHexLinearAddress:
        m_base = (static_cast<uint32_t>(m_record.data[0]) << 8 | m_record.data[1]) << 16;
        break;
    default: // start addresses mean nothing to an interpreted image
        break;
    }
    return Event::kAcknowledge;
}

bool CLoader::Store(const HexRecord &record)
{
    const uint64_t start = static_cast<uint64_t>(m_base) + record.address;
    if (start + record.data.size() > m_capacity)
        return false;
    for (size_t i = 0; i < record.data.size(); ++i) {
        const uint64_t address = start + i;
        m_image[address] = record.data[i];
        m_filled[address] = true;
        if (address + 1 > m_end)
            m_end = address + 1;
    }
    return true;
}

void CLoader::Finish()
{
    m_finished = true;
    m_reader.Clear();
    if (m_end == 0) {
        m_error = ImageFaultText(ImageFault::kEmpty, 0);
    } else {
        for (size_t address = 0; address < m_end && m_error.empty(); ++address) {
            if (!m_filled[address])
                m_error = ImageFaultText(ImageFault::kMissingData, static_cast<long>(address));
        }
    }
    m_image.resize(m_error.empty() ? m_end : 0);
    m_filled.assign(m_capacity, false);
}

} // namespace velsim
